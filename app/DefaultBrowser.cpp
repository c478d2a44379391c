#include "app/DefaultBrowser.h"

#include <wx/filename.h>
#include <wx/log.h>
#include <wx/utils.h>

#ifdef __WXMSW__
#include <wx/msw/wrapwin.h>
// after windows.h
#include <shellapi.h>
#include <shlwapi.h>
#endif

namespace gleaner {

#ifdef __WXMSW__

namespace {

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

bool startCommand(const wxString& command) {
  std::wstring line = command.ToStdWstring();
  STARTUPINFOW startup{};
  startup.cb = sizeof startup;
  PROCESS_INFORMATION process{};
  if (!CreateProcessW(nullptr, line.data(), nullptr, nullptr, FALSE, 0, nullptr, nullptr, &startup, &process)) {
    return false;
  }
  CloseHandle(process.hThread);
  CloseHandle(process.hProcess);
  return true;
}

}  // namespace

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

bool DefaultBrowser::open(const wxString& address) {
  if (const auto command = sectionCommand(address); command && startCommand(*command)) return true;
  if (isFileAddress(address)) {
    // Without a browser for the section the page opens at its top.
    return shellOpen(wxFileName::URLToFileName(address.BeforeFirst('#')).GetFullPath());
  }
  return shellOpen(address);
}

#else

bool DefaultBrowser::open(const wxString& address) {
  wxLogNull quiet;  // the failure is told in the caller's own words
  return wxLaunchDefaultBrowser(address);
}

#endif

}  // namespace gleaner
