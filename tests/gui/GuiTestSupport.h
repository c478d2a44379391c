// Helpers for driving real windows from a test: let the event loop run, wait
// for a condition while it runs, and find controls by id.
#pragma once

#include <gtest/gtest.h>
#include <wx/app.h>
#include <wx/notebook.h>
#include <wx/window.h>

#include <chrono>
#include <functional>
#include <string>
#include <thread>

#include "text/GbkConvert.h"

namespace gleaner::testing {

// Lets the event loop handle what is pending for about ms milliseconds.
inline void pumpFor(int ms) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(ms);
  do {
    wxTheApp->ProcessPendingEvents();
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  } while (std::chrono::steady_clock::now() < end);
}

// Runs the event loop until done() holds or timeoutMs passes; true if it held.
inline bool pumpUntil(const std::function<bool()>& done, int timeoutMs = 10000) {
  const auto end = std::chrono::steady_clock::now() + std::chrono::milliseconds(timeoutMs);
  while (!done()) {
    if (std::chrono::steady_clock::now() > end) return false;
    wxTheApp->ProcessPendingEvents();
    wxTheApp->Yield(true);
    std::this_thread::sleep_for(std::chrono::milliseconds(2));
  }
  return true;
}

// The screen point inside tab index of a notebook, for a simulated click;
// wxDefaultPosition when no such tab is shown. Tabs sit along the top edge.
inline wxPoint tabCentre(wxNotebook& tabs, int index) {
  const wxSize size = tabs.GetSize();
  for (int x = 2; x < size.x; x += 4) {
    for (int y = 2; y < 40; y += 4) {
      if (tabs.HitTest(wxPoint(x, y)) == index) return tabs.ClientToScreen(wxPoint(x + 8, y + 4));
    }
  }
  return wxDefaultPosition;
}

template <typename T>
T* controlOf(wxWindow& parent, int id) {
  return dynamic_cast<T*>(parent.FindWindow(id));
}

// GBK bytes of a UTF-8 literal, for comparing with what the engine sees.
inline std::string gbkOf(const char* utf8) { return gbk::fromUtf8(utf8); }
inline wxString wx(const char* utf8) { return wxString::FromUTF8(utf8); }

}  // namespace gleaner::testing
