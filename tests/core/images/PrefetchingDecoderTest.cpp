// Decoding ahead on a thread of its own: the picture asked for later is the one decoded
// ahead when its file is unchanged, and anything else is decoded as before.
#include <gtest/gtest.h>

#include <chrono>
#include <condition_variable>
#include <future>
#include <mutex>
#include <set>
#include <thread>

#include "PictureTestUtil.h"
#include "core/images/PrefetchingDecoder.h"
#include "support/TempDir.h"

namespace ov {
namespace {

namespace fs = std::filesystem;

// Netpbm decoding that records which thread decoded what, and can hold back one file's
// decode until released.
class RecordingDecoder final : public IImageDecoder {
 public:
  DecodeResult Decode(TBitmap32& surface, const fs::path& file) override {
    if (file == held) release.wait();
    const DecodeResult r = NetpbmImageDecoder().Decode(surface, file);
    {
      std::lock_guard lock(m);
      calls.push_back({file, std::this_thread::get_id()});
    }
    called.notify_all();
    return r;
  }
  // Waits until `n` decodes have finished, at most a few seconds, so that a decode ahead
  // that never runs fails the test instead of hanging it.
  bool WaitForCalls(size_t n) {
    std::unique_lock lock(m);
    return called.wait_for(lock, std::chrono::seconds(10), [&] { return calls.size() >= n; });
  }
  size_t Count() {
    std::lock_guard lock(m);
    return calls.size();
  }
  struct Call {
    fs::path file;
    std::thread::id thread;
  };
  std::mutex m;
  std::condition_variable called;
  std::vector<Call> calls;
  fs::path held;
  std::shared_future<void> release = std::async(std::launch::deferred, [] {}).share();
};

class PrefetchingDecoderTest : public ::testing::Test {
 protected:
  fs::path Picture(const std::string& name, const TBitmap32& pic) {
    const fs::path p = dir.Path() / name;
    test::WriteFile(p, EncodePpm(pic));
    return p;
  }
  test::TempDir dir;
  RecordingDecoder inner;
};

TEST_F(PrefetchingDecoderTest, TheFileDecodedAheadIsTakenOnceAndOnlyWhileUnchanged) {
  const fs::path a = Picture("a.ppm", test::Numbered(7, 5));
  int scoped = 0;
  PrefetchingDecoder decoder(inner, [&scoped](const std::function<void()>& work) {
    ++scoped;
    work();
  });

  // Ahead on another thread, inside the platform's scope; the result is the picture.
  decoder.Prefetch(a);
  TBitmap32 got;
  ASSERT_TRUE(decoder.Decode(got, a).ok);
  EXPECT_TRUE(test::SamePixels(got, test::Numbered(7, 5)));
  ASSERT_EQ(inner.calls.size(), 1u);
  EXPECT_NE(inner.calls[0].thread, std::this_thread::get_id());
  EXPECT_EQ(scoped, 1);

  // Taken once: the next decode of the same file reads it again, here.
  ASSERT_TRUE(decoder.Decode(got, a).ok);
  ASSERT_EQ(inner.calls.size(), 2u);
  EXPECT_EQ(inner.calls[1].thread, std::this_thread::get_id());

  // A file rewritten after its decode began is decoded again, as it is now.
  decoder.Prefetch(a);
  ASSERT_TRUE(inner.WaitForCalls(3)) << "the decode ahead never finished";
  Picture("a.ppm", test::Numbered(8, 5));
  ASSERT_TRUE(decoder.Decode(got, a).ok);
  EXPECT_TRUE(test::SamePixels(got, test::Numbered(8, 5)));
  EXPECT_EQ(inner.Count(), 4u);

  // A file that does not decode ahead (here: gone) is tried again when asked for.
  const fs::path missing = dir.Path() / "later.ppm";
  decoder.Prefetch(missing);  // nothing to stamp: nothing starts
  Picture("later.ppm", test::Numbered(2, 2));
  ASSERT_TRUE(decoder.Decode(got, missing).ok);
  EXPECT_TRUE(test::SamePixels(got, test::Numbered(2, 2)));
}

TEST_F(PrefetchingDecoderTest, OtherFilesDecodeAtOnceWhileTheOneAheadStillRuns) {
  const fs::path a = Picture("a.ppm", test::Numbered(7, 5)), b = Picture("b.ppm", test::Numbered(3, 9));
  std::promise<void> go;
  inner.held = a;
  inner.release = go.get_future().share();
  PrefetchingDecoder decoder(inner);
  decoder.Prefetch(a);

  // b does not wait for a, whose decode is held back.
  TBitmap32 got;
  ASSERT_TRUE(decoder.Decode(got, b).ok);
  EXPECT_TRUE(test::SamePixels(got, test::Numbered(3, 9)));
  go.set_value();
  ASSERT_TRUE(decoder.Decode(got, a).ok);
  EXPECT_TRUE(test::SamePixels(got, test::Numbered(7, 5)));
  ASSERT_EQ(inner.calls.size(), 2u);
  EXPECT_EQ(inner.calls[0].file, b);
  EXPECT_NE(inner.calls[1].thread, std::this_thread::get_id());

  // A picture nobody asked for is let go on request; then its file decodes here.
  decoder.Prefetch(a);
  ASSERT_TRUE(decoder.Decode(got, b).ok);
  decoder.Forget();
  ASSERT_TRUE(decoder.Decode(got, a).ok);
  EXPECT_TRUE(test::SamePixels(got, test::Numbered(7, 5)));
  ASSERT_EQ(inner.Count(), 5u);
  EXPECT_EQ(inner.calls[4].file, a);
  EXPECT_EQ(inner.calls[4].thread, std::this_thread::get_id());
}

}  // namespace
}  // namespace ov
