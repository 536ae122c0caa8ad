// Recorder listing and media choices over drives as libburn reports them.
#include "burning/recorders.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <random>

#include "burning/disc_format_data.h"
#include "burning/fake_recording_layer.h"

namespace forge {
namespace {

using test::FakeDrive;
using test::FakeRecordingLayer;

std::vector<std::string> Labels(const std::vector<MediaChoice>& choices) {
  std::vector<std::string> labels;
  for (const auto& choice : choices) labels.push_back(choice.label);
  return labels;
}

TEST(ListRecorders, DisplayTextJoinsMountPathsAndProduct) {
  FakeRecordingLayer layer;
  layer.Add({.address = "/dev/sr0", .product = "DVD-RW DRIVE",
             .mountPaths = {"/media/user/DISC", "/mnt/disc"}});
  layer.Add({.address = "/dev/sr1", .product = "BD-RE BH16NS40"});  // nothing mounted
  layer.Add({.address = "", .product = "no address"});               // left out
  layer.Add({.address = "/dev/sr2", .product = "DRW-24D5MT", .mountPaths = {"/media/a b"}});

  std::vector<RecorderEntry> list;
  ASSERT_EQ(ListRecorders(list), ResultOk);
  ASSERT_EQ(list.size(), 3u);
  EXPECT_EQ(list[0].displayText, "/media/user/DISC,/mnt/disc [DVD-RW DRIVE]");
  EXPECT_EQ(list[0].uniqueId, "/dev/sr0");
  EXPECT_EQ(list[0].index, 0);
  EXPECT_EQ(list[1].displayText, "/dev/sr1 [BD-RE BH16NS40]");
  EXPECT_EQ(list[1].index, 1);
  // The index stays the drive's place in the scan, after the one left out.
  EXPECT_EQ(list[2].displayText, "/media/a b [DRW-24D5MT]");
  EXPECT_EQ(list[2].index, 3);
}

TEST(ListRecorders, NoDrivesAndFailedScans) {
  FakeRecordingLayer layer;
  std::vector<RecorderEntry> list;
  EXPECT_EQ(ListRecorders(list), ResultOk);
  EXPECT_TRUE(list.empty());

  layer.Add({.address = "/dev/sr0"});
  layer.scanResult = ResultServiceUnavailable;
  list = {{7, "kept", "kept"}};
  EXPECT_EQ(ListRecorders(list), ResultServiceUnavailable);
  ASSERT_EQ(list.size(), 1u);
  EXPECT_EQ(list[0].uniqueId, "kept");
}

TEST(ListMediaChoices, DvdWriterGetsCdDvdAndDualLayerInAnyOrder) {
  FakeRecordingLayer layer;
  // DVD-R, DVD+R, DVD+R DL, CD-R and CD-RW.
  std::vector<int> profiles = {0x11, 0x1b, 0x2b, 0x09, 0x0a};
  auto& drive = layer.Add({.address = "/dev/sr0", .profiles = profiles});
  std::mt19937 random(7);
  for (int round = 0; round < 6; ++round) {
    std::ranges::shuffle(profiles, random);
    drive.profiles = profiles;
    MediaClassFlags flags;
    std::vector<MediaChoice> choices;
    ASSERT_EQ(ListMediaChoices("/dev/sr0", flags, choices), ResultOk);
    EXPECT_EQ(Labels(choices), (std::vector<std::string>{"700MB CD Media", "4.7GB DVD Media",
                                                         "8.5GB Dual-Layer DVD"}));
    EXPECT_TRUE(flags.Has(MediaClass::DualLayerDvd));
    EXPECT_FALSE(flags.Has(MediaClass::BluRay));
  }
  // The listing only looks: the tray stays as it is and the drive is released.
  EXPECT_FALSE(layer.Log("/dev/sr0").loadTray);
  EXPECT_EQ(layer.Log("/dev/sr0").releases, layer.Log("/dev/sr0").grabs);
}

// What a drive's profile list (as libburn reports it) offers.
TEST(ListMediaChoices, ProfileListsToChoices) {
  const struct {
    const char* drive;
    std::vector<int> profiles;
    std::vector<std::string> labels;
  } cases[] = {
      {"DVD writer", test::DvdWriterProfiles(),
       {"700MB CD Media", "4.7GB DVD Media", "8.5GB Dual-Layer DVD"}},
      {"Blu-ray writer", test::BluRayWriterProfiles(),
       {"700MB CD Media", "4.7GB DVD Media", "8.5GB Dual-Layer DVD", "25GB Blu-ray DVD"}},
      // A CD writer that reads DVDs: the read-only type counts.
      {"CD-RW/DVD-ROM combo", {0x10, 0x0a, 0x09, 0x08}, {"700MB CD Media", "4.7GB DVD Media"}},
      {"DVD-RW in either mode", {0x13, 0x14}, {"4.7GB DVD Media"}},
      {"DVD-R DL layer jump", {0x16}, {"8.5GB Dual-Layer DVD"}},
      {"DVD+RW DL", {0x2a}, {"8.5GB Dual-Layer DVD"}},
      {"BD-R random recording", {0x42}, {"25GB Blu-ray DVD"}},
      {"HD DVD", {0x50, 0x51, 0x52}, {"15GB HD DVD"}},
      // Removable disk, DVD-RW DL, DVD-Download and HD DVD-RW have no class here.
      {"only types without a class", {0x02, 0x17, 0x18, 0x53}, {}},
  };
  for (const auto& c : cases) {
    FakeRecordingLayer layer;
    layer.Add({.address = "/dev/sr0", .profiles = c.profiles});
    MediaClassFlags flags;
    std::vector<MediaChoice> choices;
    EXPECT_EQ(ListMediaChoices("/dev/sr0", flags, choices), ResultOk) << c.drive;
    EXPECT_EQ(Labels(choices), c.labels) << c.drive;
  }
}

TEST(ListMediaChoices, FlagsAreClearedFirst) {
  FakeRecordingLayer layer;
  layer.Add({.address = "/dev/sr0", .profiles = {0x09}});
  MediaClassFlags flags;
  flags.flags.fill(true);
  std::vector<MediaChoice> choices;
  ASSERT_EQ(ListMediaChoices("/dev/sr0", flags, choices), ResultOk);
  EXPECT_TRUE(flags.Has(MediaClass::Cd));
  EXPECT_FALSE(flags.Has(MediaClass::Dvd));
  EXPECT_FALSE(flags.Has(MediaClass::BluRay));

  // A recorder that cannot be opened clears them too.
  flags.flags.fill(true);
  choices.clear();
  EXPECT_EQ(ListMediaChoices("/dev/sr9", flags, choices), ResultInvalidParameter);
  EXPECT_TRUE(choices.empty());
  EXPECT_FALSE(flags.Has(MediaClass::Cd));
}

TEST(ListMediaChoices, RecordersThatCannotBeSetUp) {
  FakeRecordingLayer layer;
  layer.Add({.address = "/dev/sr0", .grabFails = true, .profiles = {0x09}});  // busy
  // A DVD-ROM drive: reads CDs and DVDs, writes nothing.
  layer.Add({.address = "/dev/sr1", .announcesWriting = false, .profiles = {0x10, 0x08}});
  for (const char* address : {"/dev/sr0", "/dev/sr1", "/dev/nothing"}) {
    MediaClassFlags flags;
    std::vector<MediaChoice> choices;
    EXPECT_EQ(ListMediaChoices(address, flags, choices), ResultInvalidParameter) << address;
    EXPECT_TRUE(choices.empty()) << address;
  }
}

TEST(ListMediaChoices, PseudoDrivesOfferNothing) {
  // libburn's pseudo-drives report no profile list and the profile 0xffff.
  FakeRecordingLayer layer;
  layer.Add({.address = "stdio:/tmp/disc.iso", .listed = false,
             .role = DriveRole::PseudoReadWrite, .announcesWriting = false,
             .currentProfile = 0xffff});
  MediaClassFlags flags;
  std::vector<MediaChoice> choices;
  EXPECT_EQ(ListMediaChoices("stdio:/tmp/disc.iso", flags, choices), ResultOk);
  EXPECT_TRUE(choices.empty());
}

TEST(ClientName, CheckedAsTheWriterDoes) {
  EXPECT_TRUE(IsValidClientName(kClientName));
  EXPECT_TRUE(IsValidClientName("Image Forge, v1.0-a:b;c_d"));
  EXPECT_TRUE(IsValidClientName(std::string(63, 'x')));
  for (const std::string& name : {std::string(), std::string(64, 'x'), std::string("a/b"),
                                 std::string("tab\there"), std::string("ümlaut")}) {
    EXPECT_FALSE(IsValidClientName(name)) << name;
  }
}

TEST(CDiscFormatData, InitializeNeedsAWritingRecorderAndAGoodName) {
  FakeRecordingLayer layer;
  layer.Add({.address = "/dev/sr0", .profiles = test::DvdWriterProfiles(), .currentProfile = 0x1b});
  ResultCode error = ResultOk;
  auto recorder = GetRecordingLayer().Grab("/dev/sr0", false, error);
  ASSERT_TRUE(recorder);

  CDiscFormatData unbound;
  EXPECT_FALSE(unbound.Initialize(nullptr, kClientName));

  CDiscFormatData refused;
  EXPECT_FALSE(refused.Initialize(recorder.get(), "no/slashes"));
  EXPECT_EQ(refused.LastResult(), ResultInvalidParameter);

  CDiscFormatData writer;
  ASSERT_TRUE(writer.Initialize(recorder.get(), kClientName));
  EXPECT_EQ(writer.LastResult(), ResultOk);
  EXPECT_EQ(writer.SupportedMediaTypes().size(), test::DvdWriterProfiles().size());
  EXPECT_EQ(writer.CurrentPhysicalMediaType(), MediaType::DvdPlusR);
}

}  // namespace
}  // namespace forge
