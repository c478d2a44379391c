#include "app/DefaultBrowser.h"

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/process.h>
#include <wx/utils.h>

#ifdef __WXMSW__
#include <wx/msw/wrapwin.h>
// after windows.h
#include <shellapi.h>
#include <shlwapi.h>
#endif

namespace gleaner {
namespace {

// Waits for the opener's end and tells its verdict; deletes itself then.
class OpenerProcess : public wxProcess {
 public:
  explicit OpenerProcess(DefaultBrowser::Done done)
      : done_(std::move(done)), started_(std::chrono::steady_clock::now()) {}

  void OnTerminate(int, int status) override {
    if (std::chrono::steady_clock::now() - started_ < DefaultBrowser::kVerdictTime) done_(status == 0);
    delete this;
  }

 private:
  DefaultBrowser::Done done_;
  std::chrono::steady_clock::time_point started_;
};

#ifdef __WXMSW__

bool isFileAddress(const wxString& address) { return address.Lower().StartsWith("file:"); }

// The shell's "open" of a file or an address without a section.
bool shellOpen(const wxString& target) {
  SHELLEXECUTEINFOW info{};
  info.cbSize = sizeof info;
  info.fMask = SEE_MASK_FLAG_NO_UI | SEE_MASK_NOASYNC;
  info.lpVerb = L"open";
  const std::wstring file = target.ToStdWstring();
  info.lpFile = file.c_str();
  info.nShow = SW_SHOWNORMAL;
  return ShellExecuteExW(&info) != FALSE;
}

#endif

}  // namespace

namespace {

template <typename Command>
void startWatched(const Command& command, DefaultBrowser::Done done) {
  wxLogNull quiet;  // the failure is told in the caller's own words
  auto* process = new OpenerProcess(done);
  if (wxExecute(command, wxEXEC_ASYNC | wxEXEC_HIDE_CONSOLE, process) == 0) {
    // Nothing was started, and nothing will call the process back.
    delete process;
    done(false);
  }
}

}  // namespace

void DefaultBrowser::launch(const wxString& commandLine, Done done) { startWatched(commandLine, std::move(done)); }

void DefaultBrowser::launch(const std::vector<wxString>& arguments, Done done) {
  std::vector<const wchar_t*> argv;
  for (const wxString& argument : arguments) argv.push_back(argument.wc_str());
  argv.push_back(nullptr);
  startWatched(argv.data(), std::move(done));
}

#ifdef __WXMSW__

std::optional<wxString> DefaultBrowser::sectionCommand(const wxString& address) {
  if (!isFileAddress(address) || !address.Contains("#")) return std::nullopt;
  // The browser, not whatever opens .html files (an editor, often).
  wchar_t buffer[2048];
  DWORD size = sizeof buffer / sizeof buffer[0];
  if (AssocQueryStringW(ASSOCF_IS_PROTOCOL | ASSOCF_NOTRUNCATE, ASSOCSTR_COMMAND, L"http", L"open", buffer, &size) !=
      S_OK) {
    return std::nullopt;
  }
  wchar_t expanded[4096];
  const DWORD length = ExpandEnvironmentStringsW(buffer, expanded, sizeof expanded / sizeof expanded[0]);
  wxString command = length > 0 && length <= sizeof expanded / sizeof expanded[0] ? wxString(expanded) : wxString(buffer);
  // The address takes the place of %1 (or %L) as the shell would put it;
  // a file address holds no space or quote, so it needs no quotes of its own.
  bool placed = false;
  for (const char* mark : {"%1", "%L", "%l"}) {
    if (command.Replace(mark, address, false) > 0) {
      placed = true;
      break;
    }
  }
  if (!placed) command += " " + address;
  command.Replace("%*", "");
  return command;
}

void DefaultBrowser::open(const wxString& address, Done done) {
  if (const auto command = sectionCommand(address)) {
    launch(*command, std::move(done));
    return;
  }
  if (isFileAddress(address)) {
    // Without a browser for the section the page opens at its top.
    done(shellOpen(wxFileName::URLToFileName(address.BeforeFirst('#')).GetFullPath()));
    return;
  }
  done(shellOpen(address));
}

#else

void DefaultBrowser::open(const wxString& address, Done done) {
  launch(std::vector<wxString>{"xdg-open", address}, std::move(done));
}

#endif

}  // namespace gleaner
