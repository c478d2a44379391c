// The dialog templates: every control of each dialog with its numeric id,
// kind, text, geometry in dialog units and styles, in template order.
// Texts are UTF-8. Plain data without any framework header; the program
// builds its windows from these tables.
#pragma once

#include <span>

namespace gleaner::res {

constexpr int kNoId = -1;  // a control the program never addresses

enum class ControlKind {
  TabControl,
  ListView,
  PushButton,
  DefaultButton,
  StaticText,
  GroupBox,
  Edit,
  ComboBox,
  RadioButton,
  CheckBox,
  ProgressBar,
  Picture,  // a bitmap or icon resource, named by imageId
};

// Styles that matter to the program; the rest of a control's look is its kind's.
enum Style : unsigned {
  kTabStop = 1u << 0,
  kBorder = 1u << 1,
  kReadOnly = 1u << 2,
  kMultiLine = 1u << 3,
  kAutoHScroll = 1u << 4,
  kScrollBars = 1u << 5,   // both scroll bars
  kGroupStart = 1u << 6,
  kDigitsOnly = 1u << 7,
  kNotify = 1u << 8,       // a picture that reports clicks
};

// How a control follows its window's edges when the window is resized: it
// moves with the right or bottom edge, or stretches to follow it. A control
// without any keeps its place and size at the top left.
enum Anchor : unsigned {
  kFollowRight = 1u << 0,
  kFollowBottom = 1u << 1,
  kStretchRight = 1u << 2,
  kStretchBottom = 1u << 3,
};

struct ControlTemplate {
  int id;
  ControlKind kind;
  const char* text;
  int x, y, width, height;  // dialog units
  bool shown;
  unsigned styles;
  int imageId = 0;      // Picture: the resource it shows
  unsigned anchors = 0;  // Anchor bits
};

struct DialogTemplate {
  int id;
  const char* caption;  // empty for the child pages
  int width, height;    // dialog units: the size the window opens at
  const char* fontFace;
  int fontPoints;
  std::span<const ControlTemplate> controls;
  // A resizable window: the smallest size it can be made, in dialog units
  // (0: the template's size; the window is then never smaller than that).
  int minWidth = 0, minHeight = 0;
};

const DialogTemplate& aboutDialogTemplate();       // 100
const DialogTemplate& mainDialogTemplate();        // 102
const DialogTemplate& searchPageTemplate();        // 129
const DialogTemplate& itemUrlPageTemplate();       // 130
const DialogTemplate& sellerSearchPageTemplate();  // 131
const DialogTemplate& helpPageTemplate();          // 132
const DialogTemplate& exportDialogTemplate();      // 136
const DialogTemplate& batchDialogTemplate();       // 137

// The template with that id, or nullptr.
const DialogTemplate* findTemplate(int templateId);

// The control with that id in a template, or nullptr.
const ControlTemplate* findControl(const DialogTemplate& dialog, int controlId);

}  // namespace gleaner::res
