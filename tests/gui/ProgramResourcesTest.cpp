// Windows: what each program carries in its resources, read from the built
// files as Explorer and the loader read them: the manifest (UTF-8 code page,
// visual styles, per-monitor DPI), the icon, and the version.
#ifdef _WIN32

#include <gtest/gtest.h>
#include <windows.h>

#include <string>
#include <vector>

#include "support/ChildProcess.h"

namespace gleaner::testing {
namespace {

class ProgramFile {
 public:
  explicit ProgramFile(const std::string& name) : path_(programPath(name).wstring()) {
    module_ = LoadLibraryExW(path_.c_str(), nullptr, LOAD_LIBRARY_AS_DATAFILE | LOAD_LIBRARY_AS_IMAGE_RESOURCE);
  }
  ~ProgramFile() {
    if (module_ != nullptr) FreeLibrary(module_);
  }
  bool loaded() const { return module_ != nullptr; }

  std::string manifest() const {
    HRSRC found = FindResourceW(module_, MAKEINTRESOURCEW(1), MAKEINTRESOURCEW(24));  // RT_MANIFEST
    if (found == nullptr) return {};
    const auto* bytes = static_cast<const char*>(LockResource(LoadResource(module_, found)));
    return std::string(bytes, SizeofResource(module_, found));
  }
  bool hasIcon() const { return FindResourceW(module_, L"GLEANER_ICON", MAKEINTRESOURCEW(14)) != nullptr; }

  // A string of the version resource's Chinese (Simplified) block.
  std::wstring version(const wchar_t* key) const {
    DWORD ignored = 0;
    const DWORD size = GetFileVersionInfoSizeW(path_.c_str(), &ignored);
    if (size == 0) return {};
    std::vector<unsigned char> data(size);
    if (!GetFileVersionInfoW(path_.c_str(), 0, size, data.data())) return {};
    wchar_t* value = nullptr;
    UINT length = 0;
    const std::wstring query = std::wstring(L"\\StringFileInfo\\080404b0\\") + key;
    if (!VerQueryValueW(data.data(), query.c_str(), reinterpret_cast<void**>(&value), &length) || length == 0) return {};
    return std::wstring(value, length - 1);
  }

 private:
  std::wstring path_;
  HMODULE module_ = nullptr;
};

TEST(ProgramResources, EveryProgramCarriesManifestIconAndVersion) {
  for (const std::string name : {"gleaner", "gleaner-cli", "gleaner-sample-site"}) {
    SCOPED_TRACE(name);
    const ProgramFile program(name);
    ASSERT_TRUE(program.loaded());
    const std::string manifest = program.manifest();
    EXPECT_NE(manifest.find("<activeCodePage xmlns=\"http://schemas.microsoft.com/SMI/2019/WindowsSettings\">UTF-8<"),
              std::string::npos);
    EXPECT_NE(manifest.find("PerMonitorV2"), std::string::npos);
    EXPECT_NE(manifest.find("name=\"Microsoft.Windows.Common-Controls\" version=\"6.0.0.0\""), std::string::npos);
    EXPECT_TRUE(program.hasIcon());
    EXPECT_EQ(program.version(L"OriginalFilename"), std::wstring(name.begin(), name.end()) + L".exe");
    EXPECT_EQ(program.version(L"FileVersion"), L"1.0");
    EXPECT_EQ(program.version(L"ProductName"), L"Gleaner 采集");
  }
}

// The test binaries carry the same manifest, and the system honours it.
TEST(ProgramResources, TheAnsiCodePageIsUtf8) { EXPECT_EQ(GetACP(), static_cast<UINT>(CP_UTF8)); }

}  // namespace
}  // namespace gleaner::testing

#endif
