// The program's writers of user files killed at random moments: every file is afterwards
// exactly its old or its new content, never a mixture, a truncation or missing. Uses
// fork and SIGKILL, so it runs on Linux only.
#if defined(__linux__)

#include <gtest/gtest.h>
#include <signal.h>
#include <sys/wait.h>
#include <unistd.h>

#include <chrono>
#include <functional>
#include <random>
#include <thread>

#include "core/calendar/ColorCodes.h"
#include "core/calendar/DateTime.h"
#include "core/calendar/EntryStore.h"
#include "core/images/ImagePropsStore.h"
#include "core/library/RotationQueue.h"
#include "core/platform/CodePage.h"
#include "core/render/BmpWriter.h"
#include "core/util/FileIo.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

struct Writer {
  const char* name;
  fs::path file;
  std::function<void(int version)> write;  // writes version 0 or 1 of the file
};

// Writes version 0, then in a child process versions 1, 0, 1, ... without end; the child
// is killed at a random moment after its first write; after every kill the file must
// hold one of the two versions whole.
void KillWhileWriting(const Writer& w, int rounds, uint32_t seed) {
  w.write(1);
  const std::string v1 = test::ReadFile(w.file);
  w.write(0);
  const std::string v0 = test::ReadFile(w.file);
  ASSERT_NE(v0, v1) << w.name;

  std::mt19937 rng(seed);
  int seen[2] = {0, 0};
  for (int round = 0; round < rounds; ++round) {
    int ready[2];
    ASSERT_EQ(pipe(ready), 0);
    const pid_t child = fork();
    ASSERT_GE(child, 0);
    if (child == 0) {
      close(ready[0]);
      for (int i = 1;; ++i) {
        w.write(i % 2);
        if (i == 1) {
          const char c = 1;
          if (write(ready[1], &c, 1) != 1) _exit(1);
        }
      }
    }
    close(ready[1]);
    char c = 0;
    ASSERT_EQ(read(ready[0], &c, 1), 1) << w.name << ": the writer never finished a write";
    close(ready[0]);
    std::this_thread::sleep_for(std::chrono::microseconds(rng() % 3000));
    kill(child, SIGKILL);
    int status = 0;
    ASSERT_EQ(waitpid(child, &status, 0), child);
    ASSERT_TRUE(WIFSIGNALED(status)) << w.name;

    const std::string now = test::ReadFile(w.file);
    ASSERT_TRUE(now == v0 || now == v1) << w.name << " round " << round << ": " << now.size() << " bytes";
    ++seen[now == v1];
  }
  // The child's own writes are what was checked: its first one replaced version 0.
  EXPECT_GT(seen[1], 0) << w.name;
}

TEST(KilledWrites, EveryUserFileIsOldOrNew) {
  test::TempDir dir;
  Latin1CodePage codePage;
  EntryStore store(dir.Path() / "Entries", "默认", codePage);
  const double day = EncodeDate(2024, 5, 17);

  std::string note[2];
  for (int v = 0; v < 2; ++v)
    for (int i = 0; i < 4000; ++i) note[v] += "Zeile " + std::to_string(i * (v + 1)) + (v ? " 会议\n" : " caf\xC3\xA9\n");

  NetpbmImageDecoder decoder;
  ImagePropsStore props(dir.Path() / "ImageCRC", decoder);
  fs::create_directories(dir.Path() / "ImageCRC");
  TBitmap32 photo(64, 48);
  photo.Clear(0xFF336699);

  TBitmap32 wallpaper[2] = {TBitmap32(800, 600), TBitmap32(800, 600)};
  wallpaper[0].Clear(0xFF102030);
  wallpaper[1].Clear(0xFFF0E0D0);
  const std::string bmp[2] = {EncodeBmp(wallpaper[0], BmpDepth::Bits24), EncodeBmp(wallpaper[1], BmpDepth::Bits24)};

  const Writer writers[] = {
      {"note", store.NoteFilePath(day), [&](int v) { store.WriteNoteText(note[v], day); }},
      {"codes", CodesFilePath(store.EntriesFolder(), 2024),
       [&](int v) {
         YearCodes codes{};
         for (size_t k = 0; k < codes.size(); ++k) codes[k] = v ? uint32_t(k) : 0xFFFFFFFFu - uint32_t(k);
         WriteYearCodes(store.EntriesFolder(), 2024, codes);
       }},
      {"properties", props.PropsFileFor(photo),
       [&](int v) {
         props.Props(ImageSlot::Current).Zoom = v ? 250 : 75;
         props.Props(ImageSlot::Current).Gamma = v ? -1.5 : 2.25;
         props.SetModified(true);
         props.WriteImageProps(photo);
       }},
      {"rotation queue", dir.Path() / "Rotation.txt",
       [&](int v) {
         std::vector<std::string> queue;
         for (int i = 0; i < 3000; ++i) queue.push_back("C:\\Bilder\\" + std::to_string(i) + (v ? "\xE5\x9B\xBE.jpg" : ".png"));
         WriteRotationFile(dir.Path() / "Rotation.txt", queue, codePage);
       }},
      {"wallpaper", dir.Path() / "Wallpaper.bmp", [&](int v) { WriteFileAtomic(dir.Path() / "Wallpaper.bmp", bmp[v]); }},
  };
  uint32_t seed = 1;
  for (const Writer& w : writers) KillWhileWriting(w, 60, seed++);
}

}  // namespace
}  // namespace ov

#endif  // __linux__
