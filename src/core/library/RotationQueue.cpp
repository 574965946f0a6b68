#include "core/library/RotationQueue.h"

#include <system_error>
#include <utility>

#include "core/calendar/NoteFile.h"
#include "core/util/FileIo.h"
#include "core/util/Paths.h"
#include "core/util/Text.h"

namespace ov {

namespace fs = std::filesystem;

namespace {

bool PictureExists(const std::string& file) {
  std::error_code ec;
  fs::path p = PathFromUtf8(file);
  return fs::exists(p, ec) && !fs::is_directory(p, ec);
}

}  // namespace

void Shuffle(std::vector<std::string>& items, IRandom& random) {
  for (size_t i = items.size(); i > 1; --i) {
    size_t j = random.Below(i);
    if (j != i - 1) std::swap(items[i - 1], items[j]);
  }
}

std::string PickNextImage(std::vector<std::string>& queue, const std::vector<TImageItem>& library,
                          IRandom& random) {
  if (queue.empty()) {
    queue.reserve(library.size());
    for (const TImageItem& item : library) queue.push_back(item.FileName);
    Shuffle(queue, random);
  }
  // Taken off the head in one go, however many files were deleted in the meantime.
  size_t taken = 0;
  std::string result;
  while (taken < queue.size()) {
    std::string candidate = std::move(queue[taken++]);
    if (!candidate.empty() && PictureExists(candidate)) {
      result = std::move(candidate);
      break;
    }
  }
  queue.erase(queue.begin(), queue.begin() + static_cast<std::ptrdiff_t>(taken));
  return result;
}

std::string FormatRotationFile(const std::vector<std::string>& queue, const ICodePage& codePage) {
  std::string utf8;
  for (const std::string& line : queue) {
    utf8 += line;
    utf8 += "\r\n";
  }
  // ANSI text that happens to begin with the bytes of the byte-order mark would be read
  // back as UTF-8; such a queue is written as UTF-8 too.
  if (auto ansi = codePage.FromUtf8(utf8); ansi && ansi->rfind(kUtf8Bom, 0) != 0) return *ansi;
  return kUtf8Bom + RepairUtf8(utf8);
}

std::vector<std::string> ParseRotationFile(std::string_view bytes, const ICodePage& codePage) {
  const bool utf8 = bytes.substr(0, 3) == kUtf8Bom;
  if (utf8) bytes.remove_prefix(3);
  std::string text = utf8 ? RepairUtf8(bytes) : codePage.ToUtf8(std::string(bytes));
  std::vector<std::string> queue;
  for (std::string& line : SplitLines(text))
    if (!line.empty()) queue.push_back(std::move(line));
  return queue;
}

std::vector<std::string> ReadRotationFile(const fs::path& file, const ICodePage& codePage) {
  std::optional<std::string> bytes = ReadFileBytes(file);
  if (!bytes) return {};
  return ParseRotationFile(*bytes, codePage);
}

bool WriteRotationFile(const fs::path& file, const std::vector<std::string>& queue, const ICodePage& codePage) {
  return WriteFileAtomic(file, FormatRotationFile(queue, codePage));
}

std::string Rotate(std::vector<std::string>& queue, const std::vector<TImageItem>& library, IRandom& random,
                   const fs::path& queueFile, const ICodePage& codePage, RotationHost& host) {
  std::string picked = PickNextImage(queue, library, random);
  // A queue that cannot be written only loses the order after a restart.
  WriteRotationFile(queueFile, queue, codePage);
  if (picked.empty()) return picked;
  fs::path props = host.SaveShownImageProps();
  host.BuildWallpaper(picked);
  host.RestoreShownImageProps(props);
  host.UpdatePreview();
  return picked;
}

}  // namespace ov
