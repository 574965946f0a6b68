#pragma once
// Moving the shared data (Entries\ and ImageCRC\) to another notes folder: copy every
// file, verify every copy (size and content), switch the setting over, and only then
// remove the old files. A failure or a cancel before the switch removes only the copies
// this move made; the old folder stays in use and whole. A failure while cleaning up
// leaves old files behind, never fewer.
#include <cstddef>
#include <filesystem>
#include <functional>
#include <string>

namespace ov {

// Whether a folder already holds shared data with at least one note or codes file.
bool HoldsNotes(const std::filesystem::path& sharedFolder);

// A move marks its target with this file while it copies and removes the mark once it
// has switched over, or when it fails or is cancelled; a move that was killed leaves it.
// The "~$" name keeps sync services from carrying it.
inline constexpr char kMoveMarkName[] = "~$Orvinta-move.tmp";
// Whether a move into this folder was cut short (killed, power lost): the shared data
// there are this program's unfinished copies, which a merge completes.
bool HoldsUnfinishedMove(const std::filesystem::path& sharedFolder);

enum class MoveChoice {
  Move,       // copy everything over (a file already there with other content stays,
              // the moved one goes beside it as a conflict copy)
  UseTarget,  // use what the new folder holds; nothing is copied or removed
  Merge,      // as Move: days present on one side only are copied, days present on both
              // with different text keep both (the moved one as a conflict copy)
};

enum class MoveStep { List, Copy, Verify, Switch, CleanUp };

struct MoveHooks {
  // Asked before each file of each step (and once for List and Switch with an empty
  // path); false makes that step fail there. Tests inject failures through it.
  std::function<bool(MoveStep, const std::filesystem::path& relative)> allow;
  // Told after each file copied or verified; false cancels the move (before the switch).
  std::function<bool(size_t done, size_t total)> progress;
  // Makes the new folder the one in use (stores the setting); false when that failed.
  std::function<bool()> switchOver;
  // Names the program's conflict copies.
  std::string computer;
  std::string stamp;
};

struct MoveResult {
  enum Outcome { Done, Failed, Cancelled } outcome = Done;
  MoveStep failedAt = MoveStep::List;
  std::filesystem::path failedFile;  // relative to the shared folder
  size_t files = 0;                  // files found to move
  size_t conflictCopies = 0;         // files kept beside a different one in the target
  size_t leftBehind = 0;             // old files the clean-up could not remove
};

MoveResult MoveSharedData(const std::filesystem::path& from, const std::filesystem::path& to, MoveChoice choice,
                          const MoveHooks& hooks);

}  // namespace ov
