#include "app/ExportFolderMemory.h"

#include <fstream>
#include <iterator>
#include <string>

#include "app/PathText.h"

namespace gleaner {

std::filesystem::path ExportFolderMemory::besideStore(const std::filesystem::path& store) {
  return store.parent_path() / "export-folder.txt";
}

wxString ExportFolderMemory::recall() const {
  if (!file_) return {};
  std::ifstream in(*file_, std::ios::binary);
  const std::string utf8((std::istreambuf_iterator<char>(in)), std::istreambuf_iterator<char>());
  if (utf8.empty()) return {};
  std::error_code error;
  const std::filesystem::path folder = pathFromUtf8(utf8);
  return std::filesystem::is_directory(folder, error) ? wxNameOf(folder) : wxString();
}

void ExportFolderMemory::remember(const std::filesystem::path& folder) const {
  if (!file_ || folder.empty()) return;
  std::error_code error;
  std::filesystem::create_directories(file_->parent_path(), error);
  std::ofstream(*file_, std::ios::binary | std::ios::trunc) << utf8Of(std::filesystem::absolute(folder, error));
}

}  // namespace gleaner
