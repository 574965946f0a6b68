#pragma once
// The wallpaper changer's order: a shuffled queue of library pictures that shows every
// picture once before any repeats, kept across restarts in "Rotation.txt".
#include <cstddef>
#include <cstdint>
#include <filesystem>
#include <random>
#include <string>
#include <string_view>
#include <vector>

#include "core/library/ImageLibrary.h"
#include "core/platform/CodePage.h"

namespace ov {

// A uniform random source, injectable so tests can drive the shuffle.
class IRandom {
 public:
  virtual ~IRandom() = default;
  // A whole number drawn uniformly from 0 .. n - 1; n is at least 1.
  virtual size_t Below(size_t n) = 0;
};

class StdRandom final : public IRandom {
 public:
  explicit StdRandom(uint64_t seed) : engine_(seed) {}
  size_t Below(size_t n) override { return std::uniform_int_distribution<size_t>(0, n - 1)(engine_); }

 private:
  std::mt19937_64 engine_;
};

// Fisher-Yates: every order equally likely (exchanging each position with one drawn from
// the whole range would favour some orders).
void Shuffle(std::vector<std::string>& items, IRandom& random);

// The picture to show next, taken off the head of the queue. An empty queue is first
// refilled with every library picture in library order and shuffled. Queued files that
// no longer exist are dropped on the way. Empty when nothing can be shown; the queue is
// then empty too.
std::string PickNextImage(std::vector<std::string>& queue, const std::vector<TImageItem>& library,
                          IRandom& random);

// The queue file: one path per line, every line ended by CR LF, no header. Written in the
// ANSI code page; when some path has no form there, the whole file is written as UTF-8
// behind a byte-order mark instead, so that no picture is lost. Both forms are read.
std::string FormatRotationFile(const std::vector<std::string>& queue, const ICodePage& codePage);
std::vector<std::string> ParseRotationFile(std::string_view bytes, const ICodePage& codePage);

// Missing or unreadable: an empty queue.
std::vector<std::string> ReadRotationFile(const std::filesystem::path& file, const ICodePage& codePage);
// False when the file could not be written (the previous file then stays whole).
bool WriteRotationFile(const std::filesystem::path& file, const std::vector<std::string>& queue,
                       const ICodePage& codePage);

// Everything one rotation does around the queue, as the program provides it.
class RotationHost {
 public:
  virtual ~RotationHost() = default;
  // Stores the properties of the picture open in the image tab; returns their file.
  virtual std::filesystem::path SaveShownImageProps() = 0;
  // Composes and installs the wallpaper with `file` as background, as a rotation: once
  // the picture loads, the next rotation is scheduled even when it is the one already
  // shown. The error text is not shown.
  virtual void BuildWallpaper(const std::string& file) = 0;
  // Reads the remembered properties back into the current slot, so the image tab keeps
  // the adjustments of its own picture.
  virtual void RestoreShownImageProps(const std::filesystem::path& propsFile) = 0;
  virtual void UpdatePreview() = 0;
};

// Picks the next picture, writes the queue file (failures ignored: the queue is only an
// order) and installs the picture. Nothing happens when there is nothing to show.
// Returns the picture, empty when none.
std::string Rotate(std::vector<std::string>& queue, const std::vector<TImageItem>& library, IRandom& random,
                   const std::filesystem::path& queueFile, const ICodePage& codePage, RotationHost& host);

}  // namespace ov
