// The copy loop of WriteIsoFile, on streams of chosen length from the recording service.
#include "authoring/iso_file_writer.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "fake_image.h"
#include "support/test_files.h"

namespace forge {
namespace {

using ::testing::ElementsAre;

class PercentRecorder final : public WriteProgressSink {
 public:
  // Answers `answer` on call number `answerAt` (counting from 1), 0 otherwise.
  explicit PercentRecorder(std::size_t answerAt = 0, ResultCode answer = CancelCode)
      : answerAt_(answerAt), answer_(answer) {}
  ResultCode OnProgress(int percent, std::uint64_t bytesWritten) override {
    percents.push_back(percent);
    bytes.push_back(bytesWritten);
    return percents.size() == answerAt_ ? answer_ : ResultOk;
  }
  std::vector<int> percents;
  std::vector<std::uint64_t> bytes;

 private:
  std::size_t answerAt_;
  ResultCode answer_;
};

std::string Pattern(std::uint64_t length) {
  std::string bytes(length, '\0');
  for (std::uint64_t i = 0; i < length; ++i) bytes[i] = static_cast<char>(test::PatternByte(i));
  return bytes;
}

class IsoFileWriterTest : public ::testing::Test {
 protected:

  ResultCode Write(std::uint64_t size, WriteProgressSink* sink,
                   FileSystemChoice choice = FileSystemChoice::IsoJoliet) {
    image_->streamSize = size;
    return WriteIsoFile(*engine_, output_, sink, choice);
  }

  test::TempFolder temp_;
  std::filesystem::path output_ = temp_ / "out.iso";
  test::RecordingImage* image_ = nullptr;
  std::unique_ptr<DiscImageEngine> engine_ = test::EngineWithRecordingImage(image_);
};

TEST_F(IsoFileWriterTest, CopiesIn64KiBPiecesAndReportsTruncatedPercentagesAfterEach) {
  PercentRecorder sink;
  const std::uint64_t size = 65536 * 3 + 1;
  EXPECT_EQ(Write(size, &sink), ResultOk);
  EXPECT_THAT(sink.percents, ElementsAre(33, 66, 99, 100));
  EXPECT_THAT(sink.bytes, ElementsAre(65536, 131072, 196608, size));
  EXPECT_TRUE(test::ReadFile(output_) == Pattern(size));
}

TEST_F(IsoFileWriterTest, SetsTheFileSystemsOfTheChoiceAndTheVolumeName) {
  const struct {
    int choice;
    FileSystems expected;
  } cases[] = {
      {0, FileSystems::Iso9660 | FileSystems::Joliet},
      {1, FileSystems::Iso9660},
      {2, FileSystems::Udf},
      {7, FileSystems::Iso9660 | FileSystems::Joliet},
  };
  for (const auto& c : cases) {
    image_->volumeName.clear();
    EXPECT_EQ(Write(2048, nullptr, static_cast<FileSystemChoice>(c.choice)), ResultOk);
    EXPECT_EQ(image_->fileSystems, c.expected) << c.choice;
    EXPECT_EQ(image_->volumeName, "BuildDisc");
  }
}

TEST_F(IsoFileWriterTest, ACancelAfterTheFirstPieceLeavesThatPieceOnDisk) {
  PercentRecorder sink(1, CancelCode);
  EXPECT_EQ(Write(10 * 1024 * 1024, &sink), CancelCode);
  EXPECT_EQ(sink.percents.size(), 1u);
  EXPECT_TRUE(test::ReadFile(output_) == Pattern(65536));
}

TEST_F(IsoFileWriterTest, AnExistingLongerFileIsCutToTheImage) {
  test::WriteFile(output_, std::string(1024 * 1024, 'x'));
  EXPECT_EQ(Write(10240, nullptr), ResultOk);
  EXPECT_TRUE(test::ReadFile(output_) == Pattern(10240));
}

TEST_F(IsoFileWriterTest, AnEmptyImageGivesAnEmptyFileWithoutProgress) {
  PercentRecorder sink;
  EXPECT_EQ(Write(0, &sink), ResultOk);
  EXPECT_TRUE(sink.percents.empty());
  EXPECT_TRUE(std::filesystem::exists(output_));
  EXPECT_EQ(std::filesystem::file_size(output_), 0u);
}

TEST_F(IsoFileWriterTest, FailuresEndTheCopyWithTheirCode) {
  // The image stream fails in its third piece: two pieces stay.
  image_->failAt = 65536 * 2 + 10;
  image_->failCode = ResultFileNotFound;
  EXPECT_EQ(Write(65536 * 4, nullptr), ResultFileNotFound);
  EXPECT_TRUE(test::ReadFile(output_) == Pattern(65536 * 2));

  // A full disk.
  image_->failAt = std::numeric_limits<std::uint64_t>::max();
  image_->streamSize = 65536 * 2;
  EXPECT_EQ(WriteIsoFile(*engine_, "/dev/full", nullptr, FileSystemChoice::IsoJoliet),
            ResultDiskFull);

  // An output that cannot be created.
  EXPECT_EQ(WriteIsoFile(*engine_, temp_ / "missing/out.iso", nullptr, FileSystemChoice::Udf),
            ResultFileNotFound);
}

}  // namespace
}  // namespace forge
