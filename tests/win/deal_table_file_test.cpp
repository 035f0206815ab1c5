#include "records/deal_table_file_win.h"

#include <windows.h>

#include <gtest/gtest.h>

#include <fstream>
#include <iterator>
#include <optional>
#include <string>

namespace {

// The build puts the deals' table beside the programs, as the release does.
std::string besideThisProgram(const char* name) {
    char path[MAX_PATH];
    const DWORD length = GetModuleFileNameA(nullptr, path, MAX_PATH);
    std::string folder(path, length);
    return folder.substr(0, folder.find_last_of('\\') + 1) + name;
}

std::string temporaryPath(const char* name) {
    char temp[MAX_PATH];
    const DWORD length = GetTempPathA(MAX_PATH, temp);
    return std::string(temp, length) + name + std::to_string(GetCurrentProcessId());
}

TEST(DealTableFile, TheTableBesideTheProgramIsReadAMissingOneIsAbsentAndADamagedOneRefusedWithItsReason) {
    const std::string shipped = besideThisProgram("deals.tkd");
    const DealTableLoad load = loadDealTableFile(shipped);
    ASSERT_TRUE(load.table) << dealTableRefusalText(load.refusal) << " " << load.detail;
    EXPECT_EQ(load.table->dealCount(), 1000000);
    EXPECT_TRUE(load.mapped) << "the table is the file's own pages, not a copy in the heap";

    const DealTableLoad missing = loadDealTableFile(besideThisProgram("no such table.tkd"));
    EXPECT_FALSE(missing.table);
    EXPECT_EQ(missing.refusal, DealTableRefusal::absent) << "a copied Tallykeep.exe is not told of the table";

    // A folder where the table should be is there but cannot be read: told.
    const std::string folder = temporaryPath("tk_deals_folder_");
    ASSERT_TRUE(CreateDirectoryA(folder.c_str(), nullptr));
    const DealTableLoad notAFile = loadDealTableFile(folder);
    EXPECT_TRUE(RemoveDirectoryA(folder.c_str()));
    EXPECT_FALSE(notAFile.table);
    EXPECT_EQ(notAFile.refusal, DealTableRefusal::unreadable);
    EXPECT_FALSE(notAFile.detail.empty());

    std::ifstream in(shipped, std::ios::binary);
    std::string bytes{std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>()};
    const std::string cut = temporaryPath("tk_cut_deals_");
    std::ofstream(cut, std::ios::binary) << bytes.substr(0, bytes.size() / 2);
    const DealTableLoad halved = loadDealTableFile(cut);
    EXPECT_FALSE(halved.table);
    EXPECT_EQ(halved.refusal, DealTableRefusal::cutShort);
    EXPECT_TRUE(DeleteFileA(cut.c_str()));

    // An empty file maps to nothing: read instead, and refused as cut short.
    const std::string empty = temporaryPath("tk_empty_deals_");
    std::ofstream(empty, std::ios::binary).close();
    const DealTableLoad nothing = loadDealTableFile(empty);
    EXPECT_FALSE(nothing.table);
    EXPECT_FALSE(nothing.mapped);
    EXPECT_EQ(nothing.refusal, DealTableRefusal::cutShort);
    EXPECT_TRUE(DeleteFileA(empty.c_str()));
}

TEST(DealTableFile, AMappedTableKeepsItsFileFromChangeUntilTheLastCopyGoes) {
    const std::string copy = temporaryPath("tk_mapped_deals_");
    ASSERT_TRUE(CopyFileA(besideThisProgram("deals.tkd").c_str(), copy.c_str(), FALSE));
    std::optional<DealTable> table = loadDealTableFile(copy).table;
    ASSERT_TRUE(table);
    std::optional<DealTable> kept = *table;
    table.reset();
    const auto openForWriting = [&] {
        return CreateFileA(copy.c_str(), GENERIC_WRITE, FILE_SHARE_READ | FILE_SHARE_WRITE, nullptr, OPEN_EXISTING,
                           FILE_ATTRIBUTE_NORMAL, nullptr);
    };
    EXPECT_EQ(openForWriting(), INVALID_HANDLE_VALUE) << "the file cannot be changed under the mapped view";
    EXPECT_EQ(kept->facts(11982).verdict, DealVerdict::cannotBeWon) << "the copy reads the view still";
    kept.reset();
    const HANDLE writable = openForWriting();
    EXPECT_NE(writable, INVALID_HANDLE_VALUE) << "the last copy gone, the file is released";
    if (writable != INVALID_HANDLE_VALUE) CloseHandle(writable);
    EXPECT_TRUE(DeleteFileA(copy.c_str()));
}

}  // namespace
