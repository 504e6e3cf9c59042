// What may be opened as data: regular files within their kind's size cap and,
// once the data is confined, only inside the data directory; and the one
// spelling of a name that the caches key on.
#include "core/data_path.h"

#include <gtest/gtest.h>
#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <string>

#include "support/test_env.h"
#include "support/confined_data.h"

namespace fs = std::filesystem;

namespace {

std::string refusal(const std::string& name, data_kind kind) { return inspect_data_file(name.c_str(), kind).refusal; }

}  // namespace

TEST(DataPath, EverySpellingOfANameNormalisesAlike) {
  EXPECT_EQ("rsrc/brela/big.png", normal_data_name("rsrc\\.\\.\\brela\\\\big.png"));
  EXPECT_EQ("rsrc/brela/big.png", normal_data_name("rsrc/kastrell/../brela/./big.png"));
  EXPECT_EQ("../b", normal_data_name("a\\..\\..\\b"));  // nothing left to fold into
  EXPECT_EQ("/y", normal_data_name("\\x\\..\\..\\y"));   // nothing is above the root
  EXPECT_EQ("Rsrc/A.png", normal_data_name("Rsrc\\A.png"));  // case is kept
}

TEST(DataPath, OnlyRegularFilesWithinTheirKindsCapAreOpened) {
  const std::string dir = make_temp_dir("data_kinds");
  const std::string pipe = dir + "/pipe.ini";
  ASSERT_EQ(0, mkfifo(pipe.c_str(), 0600));
  EXPECT_EQ("not a regular file (a pipe)", refusal(pipe, data_kind::text));
  EXPECT_EQ("not a regular file (a directory)", refusal(dir, data_kind::picture));
  EXPECT_EQ("not a regular file (a character device)", refusal("/dev/zero", data_kind::sound));

  // Sparse files: the size is what counts, not the bytes on disk.
  const std::string text = dir + "/big.ini", picture = dir + "/big.png";
  write_text_file(dir, "big.ini", "");
  write_text_file(dir, "big.png", "");
  fs::resize_file(text, max_text_file_bytes);
  fs::resize_file(picture, max_text_file_bytes + 1);
  EXPECT_EQ("", refusal(text, data_kind::text));
  EXPECT_EQ("", refusal(picture, data_kind::picture));  // pictures may be bigger than text
  EXPECT_EQ("1048577 bytes, more than the 1048576 allowed for a key=value file", refusal(picture, data_kind::text));
  fs::resize_file(picture, max_picture_file_bytes + 1);
  EXPECT_NE("", refusal(picture, data_kind::picture));
  EXPECT_EQ("", refusal(dir + "/missing.png", data_kind::picture));  // its opener reports it
}

TEST(DataPath, ConfinedNamesStayInsideTheDataDirectory) {
  const std::string outside = make_temp_dir("data_outside");
  write_text_file(outside, "x.ini", "a=1\n");
  const std::string root = make_temp_dir("data_root");
  write_text_file(root, "rsrc/in.ini", "a=1\n");
  fs::create_symlink(outside + "/x.ini", root + "/rsrc/out_file.ini");
  fs::create_directory_symlink(outside, root + "/rsrc/out_dir");
  fs::create_symlink(root + "/rsrc/in.ini", root + "/rsrc/in_link.ini");

  EXPECT_EQ("", refusal(outside + "/x.ini", data_kind::text));  // not confined yet
  confined_in data(root);
  const std::string climbs = "leads out of the data directory (\"..\" above it)";
  const std::string links_out = "leads out of the data directory (through a symbolic link)";
  EXPECT_EQ(climbs, refusal("rsrc\\..\\..\\x.ini", data_kind::text));
  EXPECT_EQ(climbs, refusal("..\\nothing_there.ini", data_kind::text));
  EXPECT_NE("", refusal(root + "/rsrc/in.ini", data_kind::text));  // absolute, even when inside
  EXPECT_NE("", refusal("\\rsrc\\in.ini", data_kind::text));
  EXPECT_NE("", refusal("C:\\rsrc\\in.ini", data_kind::text));
  EXPECT_EQ(links_out, refusal("rsrc\\out_file.ini", data_kind::text));
  EXPECT_EQ(links_out, refusal("rsrc\\out_dir\\x.ini", data_kind::text));
  EXPECT_EQ("", refusal("rsrc\\out_dir\\..\\in.ini", data_kind::text));  // ".." is folded by name
  EXPECT_EQ("", refusal("rsrc\\in_link.ini", data_kind::text));
  EXPECT_EQ("", refusal("game\\..\\rsrc\\.\\in.ini", data_kind::text));
}
