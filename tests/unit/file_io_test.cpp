// The one way files are read (a size limit, and why a read failed) and the two ways outputs are
// written aside: a file through AtomicFileWriter, a folder through StagedFolder.  A failed or abandoned
// write leaves the target as it was and nothing beside it.
#include <gtest/gtest.h>

#include <algorithm>
#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "atomic_write.h"
#include "disc_contents.h"
#include "file_reading.h"
#include "folder_tree.h"
#include "staged_folder.h"

namespace autorun {
namespace {

namespace fs = std::filesystem;
using Bytes = std::vector<std::uint8_t>;

class FileIoTest : public testing::Test {
   protected:
    void SetUp() override {
        folder =
            fs::temp_directory_path() /
            ("autorun-file-io-" + std::string(testing::UnitTest::GetInstance()->current_test_info()->name()));
        fs::remove_all(folder);
        fs::create_directories(folder);
    }
    void TearDown() override { RemoveFolderTree(folder); }

    void Put(const fs::path& path, const std::string& text) { std::ofstream(path, std::ios::binary) << text; }
    static std::string Text(const fs::path& path) {
        std::ifstream in(path, std::ios::binary);
        return {std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    }
    // What lies in the test's folder, by name.
    std::vector<std::string> Entries() const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(folder))
            names.push_back(entry.path().filename().string());
        std::sort(names.begin(), names.end());
        return names;
    }

    fs::path folder;
};

TEST_F(FileIoTest, ReadsAFileWholeOrUpToItsLimit) {
    Put(folder / "data.bin", std::string(70000, 'x') + "end");
    const std::string name = (folder / "data.bin").string();
    EXPECT_EQ(ReadWholeFile(name)->size(), 70003u);
    EXPECT_EQ(*ReadWholeFile(name, 5), Bytes(5, 'x'));
    EXPECT_EQ(ReadWholeFile(name, 0)->size(), 0u);
    EXPECT_EQ(ReadWholeFile(name, 70003)->size(), 70003u);
    EXPECT_EQ(ReadWholeFile(name, 1 << 20)->size(), 70003u);
    EXPECT_EQ(authoring::ReadFileAt(folder / "data.bin", 65537).size(), 65537u);
}

TEST_F(FileIoTest, SaysWhyNothingWasRead) {
    FileReadFailure failure = FileReadFailure::kRead;
    EXPECT_FALSE(ReadWholeFile((folder / "missing").string(), kWholeFile, &failure));
    EXPECT_EQ(failure, FileReadFailure::kOpen);
    failure = FileReadFailure::kRead;
    EXPECT_FALSE(ReadWholeFile(folder.string(), kWholeFile, &failure));  // a folder is no file
    EXPECT_EQ(failure, FileReadFailure::kOpen);
    try {
        authoring::ReadFileAt(folder / "missing");
        ADD_FAILURE() << "a missing file was read";
    } catch (const authoring::DiscError& error) {
        EXPECT_EQ(std::string(error.what()),
                  (folder / "missing").generic_string() + ": cannot open the file");
    }
}

TEST_F(FileIoTest, AnAtomicWriteReplacesTheFileOnlyWhenCommitted) {
    const std::string target = (folder / "out.bin").string();
    Put(target, "old");
    {
        AtomicFileWriter writer(target);
        writer.Write(reinterpret_cast<const std::uint8_t*>("new"), 3);
        EXPECT_EQ(Text(target), "old");  // not yet
    }
    EXPECT_EQ(Text(target), "old");
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.bin"});  // the temporary file went with the writer
    WriteFileAtomically(target, Bytes{'n', 'e', 'w'});
    EXPECT_EQ(Text(target), "new");
    EXPECT_EQ(Entries(), std::vector<std::string>{"out.bin"});
}

TEST_F(FileIoTest, AFailedAtomicWriteLeavesNothing) {
    EXPECT_THROW(WriteFileAtomically((folder / "no such folder" / "out.bin").string(), Bytes{1}), FileError);
    // Renaming onto a folder fails at the very end, when the temporary file is complete.
    fs::create_directory(folder / "taken");
    Put(folder / "taken" / "inside", "kept");
    EXPECT_THROW(WriteFileAtomically((folder / "taken").string(), Bytes{1}), FileError);
    EXPECT_EQ(Entries(), std::vector<std::string>{"taken"});
    EXPECT_EQ(Text(folder / "taken" / "inside"), "kept");
}

TEST_F(FileIoTest, AStagedFolderAppearsWholeOrNotAtAll) {
    const fs::path target = folder / "disc";
    {
        StagedFolder staged(target, "partial");
        staged.CreateFolders("sub/deeper");
        staged.WriteFile("sub/deeper/a.bin", Bytes{1, 2});
        EXPECT_THROW(staged.WriteFile("missing/b.bin", Bytes{3}), FileError);
        EXPECT_THROW(staged.CopyFile("c.bin", folder / "no such source"), FileError);
    }
    EXPECT_TRUE(Entries().empty());  // abandoned: removed with everything in it

    StagedFolder first(target, "partial");
    first.WriteFile("a.bin", Bytes{'o', 'n', 'e'});
    first.Commit();
    EXPECT_EQ(Text(target / "a.bin"), "one");

    Put(folder / "source.bin", "two");
    StagedFolder second(target, "partial");
    second.CopyFile("b.bin", folder / "source.bin");
    EXPECT_EQ(Text(target / "a.bin"), "one");  // untouched until committed
    second.Commit();
    EXPECT_FALSE(fs::exists(target / "a.bin"));
    EXPECT_EQ(Text(target / "b.bin"), "two");
    EXPECT_EQ(Entries(), (std::vector<std::string>{"disc", "source.bin"}));  // the old folder is gone
}

// Three folders of 100 characters put the deepest file well past MAX_PATH, and its name is one that
// no ANSI code page holds whole: Greek and CJK.
TEST_F(FileIoTest, TreesPastMaxPathWithAnyNamesAreWalkedWrittenAndRemoved) {
    const fs::path greek(u8"\u039A\u03CC\u03C3\u03BC\u03BF\u03C2"), cjk(u8"\u76EE\u5F55.bin");
    const fs::path root = folder / "tree";
    fs::create_directory(root);
    fs::path deepest = root;
    for (char c : {'a', 'b', 'c'}) {
        deepest /= std::string(100, c);
        ASSERT_TRUE(fs::create_directory(SystemPath(deepest)));
    }
    deepest /= greek;
    ASSERT_TRUE(fs::create_directory(SystemPath(deepest)));
    WriteFileAtomically(deepest / cjk, Bytes{'d', 'e', 'e', 'p'});
    EXPECT_EQ(ReadWholeFile((deepest / cjk).native()), (Bytes{'d', 'e', 'e', 'p'}));

    const std::vector<FolderEntry> entries = ListFolderTree(root);
    ASSERT_EQ(entries.size(), 5u);  // parents first
    const fs::path relative = fs::path(std::string(100, 'a')) / std::string(100, 'b') / std::string(100, 'c');
    EXPECT_EQ(entries[2].path, relative);
    EXPECT_EQ(entries[3].path, relative / greek);
    EXPECT_EQ(entries[3].kind, EntryKind::kFolder);
    EXPECT_EQ(entries[4].path, relative / greek / cjk);
    EXPECT_EQ(entries[4].kind, EntryKind::kFile);

    RemoveFolderTree(root);
    EXPECT_TRUE(Entries().empty());
    EXPECT_THROW(ListFolderTree(root), FolderTreeError);
    RemoveFolderTree(root);  // gone already: nothing to do
}

}  // namespace
}  // namespace autorun
