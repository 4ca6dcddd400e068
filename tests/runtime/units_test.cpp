#include "runtime/units.h"

#include <grp.h>
#include <sys/resource.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cstring>
#include <filesystem>
#include <functional>
#include <string>
#include <vector>

#include <gtest/gtest.h>

#include "runtime/standard_error.h"
#include "tests/runtime/child_check.h"
#include "tests/support/files.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"

namespace {

namespace fs = std::filesystem;

void open_named(int unit, const std::string& name) { open_unit(unit, name.data(), name.size()); }

// One WRITE statement of whole records.
void write_records(int unit, const std::vector<std::string>& records) {
    unit_begin_write(unit);
    for (const std::string& record : records) {
        unit_write(unit, record.data(), record.size());
        unit_end_record(unit);
    }
}

std::int64_t file_size(const char* name) {
    struct stat status;
    return ::stat(name, &status) == 0 ? static_cast<std::int64_t>(status.st_size) : -1;
}

// Runs `body` in a child with `directory` as working directory.
ChildResult run_in(const TempDir& directory, const std::function<void()>& body) {
    return run_in_child([&] {
        WorkingDirectory here(directory.path());
        body();
    });
}

// Permission checks mean nothing to root, so a child running as root drops to
// nobody first; the directory must then let everyone in.
void become_unprivileged() {
    if (::geteuid() != 0) return;
    CHILD_CHECK(::setgroups(0, nullptr) == 0);
    CHILD_CHECK(::setgid(65534) == 0);
    CHILD_CHECK(::setuid(65534) == 0);
}

void open_to_everyone(const TempDir& directory) {
    fs::permissions(directory.path(), fs::perms::all);
}

void expect_success(const ChildResult& result) {
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");
}

void expect_stop(const ChildResult& result, const std::string& frame) {
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, frame);
}

// --- OPEN -----------------------------------------------------------------

struct OpenFailure {
    const char* what;
    std::function<void(const TempDir&)> prepare;
    std::string name;
    std::string frame;
};

TEST(OpenUnit, FailuresNameTheFileAndTheReason) {
    const std::string long_name(300, 'n');
    const OpenFailure cases[] = {
        {"missing directory", [](const TempDir&) {}, "nodir/x.txt",
         "\r\nrun-time error F6416: OPEN(nodir/x.txt)\r\n- file not found\r\n"},
        {"a plain file used as a directory",
         [](const TempDir& d) { write_file(d / "plain.txt", "x"); }, "plain.txt/x.txt",
         "\r\nrun-time error F6416: OPEN(plain.txt/x.txt)\r\n- file not found\r\n"},
        {"a directory", [](const TempDir& d) { fs::create_directory(d / "sub"); }, "sub",
         "\r\nrun-time error F6414: OPEN(sub)\r\n- access denied\r\n"},
        {"a dangling link: the exclusive create finds a name",
         [](const TempDir& d) { fs::create_symlink("nowhere.txt", d / "link.txt"); }, "link.txt",
         "\r\nrun-time error F6415: OPEN(link.txt)\r\n- file already exists\r\n"},
        {"a name the system rejects", [](const TempDir&) {}, long_name,
         "\r\nrun-time error F6412: OPEN(" + long_name + ")\r\n- invalid file name or open request\r\n"},
    };
    for (const OpenFailure& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir directory;
        c.prepare(directory);
        expect_stop(run_in(directory, [&] { open_named(5, c.name); }), c.frame);
        EXPECT_FALSE(fs::exists(fs::symlink_status(directory / "nodir")));
    }
}

TEST(OpenUnit, TooManyOpenFiles) {
    TempDir directory;
    write_file(directory / "dados.txt", "1\r\n");
    for (const char* name : {"dados.txt", "new.txt"}) {
        SCOPED_TRACE(name);
        expect_stop(run_in(directory, [&] {
                        const rlimit limit = {3, 3};  // standard input, output and error only
                        CHILD_CHECK(::setrlimit(RLIMIT_NOFILE, &limit) == 0);
                        open_named(5, name);
                    }),
                    std::string("\r\nrun-time error F6417: OPEN(") + name +
                        ")\r\n- too many open files\r\n");
    }
    EXPECT_FALSE(fs::exists(directory / "new.txt"));
}

TEST(OpenUnit, ExistingFileIsUnchangedWithoutWrite) {
    TempDir directory;
    const std::string old = "old line one\r\nold line two\r\n\x1a tail";
    write_file(directory / "saida.txt", old);
    expect_success(run_in(directory, [] {
        open_named(5, "saida.txt");
        close_unit(5);
    }));
    EXPECT_EQ(read_file(directory / "saida.txt"), old);
}

TEST(OpenUnit, MissingFileIsCreatedEmptyAndStaysAfterAStop) {
    TempDir directory;
    expect_success(run_in(directory, [] {
        open_named(8, "ucentral.dat");
        CHILD_CHECK(file_size("ucentral.dat") == 0);
        close_unit(8);
    }));
    EXPECT_EQ(read_file(directory / "ucentral.dat"), "");
    const fs::perms granted = fs::status(directory / "ucentral.dat").permissions();
    EXPECT_NE(granted & fs::perms::owner_read, fs::perms::none);
    EXPECT_NE(granted & fs::perms::owner_write, fs::perms::none);

    expect_stop(run_in(directory, [] {
                    open_named(7, "u.dat");
                    open_named(5, "nodir/x.txt");
                }),
                "\r\nrun-time error F6416: OPEN(nodir/x.txt)\r\n- file not found\r\n");
    EXPECT_EQ(read_file(directory / "u.dat"), "");
}

TEST(OpenUnit, SameFileOnTwoUnitsIsRefused) {
    TempDir directory;
    expect_stop(run_in(directory, [] {
                    open_named(5, "dados.txt");
                    open_named(7, "dados.txt");
                }),
                "\r\nrun-time error F6413: OPEN(dados.txt)\r\n- file already connected to another unit\r\n");
}

TEST(OpenUnit, UnitAndFileAreFreeAgainAfterClose) {
    TempDir directory;
    write_file(directory / "dados.txt", "5\r\n");
    expect_success(run_in(directory, [] {
        open_named(5, "dados.txt");
        CHILD_CHECK(unit_next_byte(5) == '5');
        close_unit(5);
        open_named(7, "dados.txt");  // the file is no longer connected
        CHILD_CHECK(unit_next_byte(7) == '5');
        close_unit(7);
        open_named(5, "saida.txt");  // the unit has nothing of its first connection
        write_records(5, {"report"});
        close_unit(5);
        close_unit(5);  // a free unit: nothing happens
    }));
    EXPECT_EQ(read_file(directory / "dados.txt"), "5\r\n");
    EXPECT_EQ(read_file(directory / "saida.txt"), "report\r\n");
}

// --- access and permissions -----------------------------------------------

TEST(OpenUnit, ReadOnlyFileReadsButRefusesWrite) {
    TempDir directory;
    open_to_everyone(directory);
    write_file(directory / "dados.txt", "12\r\n");
    write_file(directory / "empty.txt", "");
    fs::permissions(directory / "dados.txt", fs::perms::owner_read | fs::perms::group_read |
                                                 fs::perms::others_read);
    fs::permissions(directory / "empty.txt", fs::perms::owner_read | fs::perms::group_read |
                                                 fs::perms::others_read);
    expect_stop(run_in(directory, [] {
                    become_unprivileged();
                    open_named(5, "dados.txt");
                    CHILD_CHECK(unit_next_byte(5) == '1');
                    CHILD_CHECK(unit_next_byte(5) == '2');
                    write_records(5, {"x"});
                }),
                "\r\nrun-time error F6421: WRITE(dados.txt)\r\n- write refused: access denied or "
                "region locked\r\n");
    EXPECT_EQ(read_file(directory / "dados.txt"), "12\r\n");

    // Nothing to cut in an empty file, yet the WRITE statement is refused at once.
    expect_stop(run_in(directory, [] {
                    become_unprivileged();
                    open_named(5, "empty.txt");
                    write_records(5, {"x"});
                    close_unit(5);
                }),
                "\r\nrun-time error F6421: WRITE(empty.txt)\r\n- write refused: access denied or "
                "region locked\r\n");
}

TEST(OpenUnit, WriteOnlyFileWritesButFailsRead) {
    TempDir directory;
    open_to_everyone(directory);
    write_file(directory / "u.dat", "old\r\n");
    fs::permissions(directory / "u.dat", fs::perms::owner_write | fs::perms::group_write |
                                             fs::perms::others_write);
    expect_success(run_in(directory, [] {
        become_unprivileged();
        open_named(7, "u.dat");
        write_records(7, {"new"});
        close_unit(7);
    }));
    EXPECT_EQ(read_file(directory / "u.dat"), "new\r\n");
    expect_stop(run_in(directory, [] {
                    become_unprivileged();
                    open_named(7, "u.dat");
                    unit_next_byte(7);
                }),
                "\r\nrun-time error F6500: READ(u.dat)\r\n- read failed\r\n");
}

struct PermissionFailure {
    const char* what;
    fs::perms directory_permissions;
    bool file_exists;
    fs::perms file_permissions;
    const char* frame;
};

TEST(OpenUnit, PermissionFailuresAreAccessDenied) {
    constexpr fs::perms kReadSearch = fs::perms::owner_read | fs::perms::owner_exec |
                                      fs::perms::group_read | fs::perms::group_exec |
                                      fs::perms::others_read | fs::perms::others_exec;
    const PermissionFailure cases[] = {
        {"a new file in a directory without write permission", kReadSearch, false, fs::perms::none,
         "\r\nrun-time error F6414: OPEN(locked/x.txt)\r\n- access denied\r\n"},
        {"an existing file in a directory that cannot be searched", fs::perms::none, true,
         fs::perms::all, "\r\nrun-time error F6414: OPEN(locked/x.txt)\r\n- access denied\r\n"},
        {"a file neither readable nor writable", kReadSearch, true, fs::perms::none,
         "\r\nrun-time error F6414: OPEN(locked/x.txt)\r\n- access denied\r\n"},
    };
    for (const PermissionFailure& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir directory;
        open_to_everyone(directory);
        fs::create_directory(directory / "locked");
        if (c.file_exists) {
            write_file(directory / "locked/x.txt", "kept\r\n");
            fs::permissions(directory / "locked/x.txt", c.file_permissions);
        }
        fs::permissions(directory / "locked", c.directory_permissions);
        expect_stop(run_in(directory, [] {
                        become_unprivileged();
                        open_named(5, "locked/x.txt");
                    }),
                    c.frame);
        fs::permissions(directory / "locked", fs::perms::all);
        EXPECT_EQ(read_file(directory / "locked/x.txt"),
                  c.file_exists ? std::optional<std::string>("kept\r\n") : std::nullopt);
    }
}

// --- writing ----------------------------------------------------------------

TEST(UnitWrite, RecordEndsWithCarriageReturnLineFeed) {
    TempDir directory;
    expect_success(run_in(directory, [] {
        open_named(8, "ucentral.dat");
        write_records(8, {"ab"});
        write_records(8, {"", "c"});
        close_unit(8);
    }));
    EXPECT_EQ(read_file(directory / "ucentral.dat"), "ab\r\n\r\nc\r\n");
}

TEST(UnitWrite, FirstWriteCutsAtThePositionAndNotBefore) {
    TempDir directory;
    write_file(directory / "saida.txt", std::string(3000, 'o') + "\r\n");
    write_file(directory / "mixed.txt", "first\r\nsecond\r\nthird\r\n");
    expect_success(run_in(directory, [] {
        open_named(5, "saida.txt");
        CHILD_CHECK(file_size("saida.txt") == 3002);
        unit_begin_write(5);  // the cut comes with the statement, before any record
        CHILD_CHECK(file_size("saida.txt") == 0);
        unit_write(5, "ab", 2);
        unit_end_record(5);
        write_records(5, {"cd"});  // later statements cut nothing
        close_unit(5);

        open_named(7, "mixed.txt");
        unit_skip_record(7);
        write_records(7, {"X"});
        close_unit(7);
    }));
    EXPECT_EQ(read_file(directory / "saida.txt"), "ab\r\ncd\r\n");
    EXPECT_EQ(read_file(directory / "mixed.txt"), "first\r\nX\r\n");
}

TEST(UnitWrite, CharactersWithoutAStatementStartStillCutAndReachTheFile) {
    TempDir directory;
    write_file(directory / "saida.txt", "old content, longer than the new\r\n");
    expect_success(run_in(directory, [] {
        open_named(5, "saida.txt");
        unit_write(5, "new", 3);
        unit_end_record(5);
        close_unit(5);
    }));
    EXPECT_EQ(read_file(directory / "saida.txt"), "new\r\n");
}

TEST(UnitWrite, CharactersReachTheFileInBlocksOf1024) {
    TempDir directory;
    expect_success(run_in(directory, [] {
        open_named(8, "ucentral.dat");
        write_records(8, {std::string(1000, 'a')});
        CHILD_CHECK(file_size("ucentral.dat") == 0);
        unit_begin_write(8);
        unit_write(8, std::string(21, 'b').data(), 21);
        CHILD_CHECK(file_size("ucentral.dat") == 0);  // 1023 bytes held
        unit_write(8, "b", 1);
        CHILD_CHECK(file_size("ucentral.dat") == 1024);
        unit_write(8, std::string(1500, 'c').data(), 1500);
        CHILD_CHECK(file_size("ucentral.dat") == 2048);
        unit_end_record(8);
        CHILD_CHECK(file_size("ucentral.dat") == 2048);
        close_unit(8);
        CHILD_CHECK(file_size("ucentral.dat") == 2526);
    }));
    EXPECT_EQ(read_file(directory / "ucentral.dat"),
              std::string(1000, 'a') + "\r\n" + std::string(22, 'b') + std::string(1500, 'c') + "\r\n");
}

TEST(UnitWrite, FullDiskStopsWhenABlockIsPassed) {
    TempDir directory;
    expect_stop(run_in(directory, [] {
                    open_named(3, "/dev/full");
                    write_records(3, {std::string(1000, 'a')});
                    unit_begin_write(3);
                    unit_write(3, std::string(21, 'b').data(), 21);
                    write_standard_error("held|", 5);  // 1023 bytes held: no failure yet
                    unit_write(3, "bb", 2);
                }),
                "held|\r\nrun-time error F6422: WRITE(/dev/full)\r\n- disk full\r\n");
}

TEST(UnitWrite, FullDiskAtCloseIsACloseFailure) {
    TempDir directory;
    expect_stop(run_in(directory, [] {
                    open_named(3, "/dev/full");
                    write_records(3, {"ab"});
                    close_unit(3);
                }),
                "\r\nrun-time error F6422: CLOSE(/dev/full)\r\n- disk full\r\n");
}

TEST(UnitWrite, NullDeviceTakesEverythingWithoutACut) {
    TempDir directory;
    expect_success(run_in(directory, [] {
        open_named(3, "/dev/null");
        for (int i = 0; i < 50; ++i) write_records(3, {std::string(100, 'z')});
        close_unit(3);
    }));
    struct stat status;
    ASSERT_EQ(::stat("/dev/null", &status), 0);
    EXPECT_TRUE(S_ISCHR(status.st_mode));
}

// --- the record source -------------------------------------------------------

// Reads bytes until the stop, echoing each to standard error ahead of the frame.
void echo_until_end(int unit) {
    while (true) {
        const unsigned char byte = unit_next_byte(unit);
        write_standard_error(reinterpret_cast<const char*>(&byte), 1);
    }
}

struct SourceCase {
    const char* what;
    std::string bytes;
    std::string read;  // what the record source gives before READ 6501
};

TEST(RecordSource, GivesEveryByteThenALineFeedThenEndOfFile) {
    const std::string long_record(2500, 'q');
    const SourceCase cases[] = {
        {"zero-byte file", "", ""},
        {"records ended by CR LF", "ab\r\ncd\r\n", "ab\r\ncd\r\n"},
        {"record ended by LF alone", "ab\n", "ab\n"},
        {"last record without a line end", "ab\r\ncd", "ab\r\ncd\n"},
        {"last record ended by CR alone", "ab\r", "ab\r\n"},
        {"Ctrl-Z is an ordinary byte", "x\x1ay\r\n\x1a", "x\x1ay\r\n\x1a\n"},
        {"blocks refilled across 1024 bytes", long_record, long_record + "\n"},
        {"a block boundary right at the end", std::string(1023, 'r') + "\n",
         std::string(1023, 'r') + "\n"},
    };
    for (const SourceCase& c : cases) {
        SCOPED_TRACE(c.what);
        TempDir directory;
        write_file(directory / "dados.txt", c.bytes);
        expect_stop(run_in(directory, [] {
                        open_named(5, "dados.txt");
                        echo_until_end(5);
                    }),
                    c.read + "\r\nrun-time error F6501: READ(dados.txt)\r\n- end of file\r\n");
        EXPECT_EQ(read_file(directory / "dados.txt"), c.bytes);
    }
}

TEST(RecordSource, SkipRecordMovesPastTheNextLineFeed) {
    struct SkipCase {
        std::string bytes;
        const char* steps;  // S skips a record, B echoes the next byte
        std::string read;
    };
    const SkipCase cases[] = {
        {"one\r\ntwo\nthree", "SBSBBSB", "tth"},
        {"one\r\n\r\nx", "SSB", "x\n"},
        {"abc", "SB", ""},  // the skip took the supplied line end
        {"", "SB", ""},
        {std::string(1500, 's') + "\nend", "SBBB", "end\n"},
    };
    for (const SkipCase& c : cases) {
        SCOPED_TRACE(c.steps);
        TempDir directory;
        write_file(directory / "dados.txt", c.bytes);
        expect_stop(run_in(directory, [&] {
                        open_named(5, "dados.txt");
                        for (const char* step = c.steps; *step != '\0'; ++step) {
                            if (*step == 'S') {
                                unit_skip_record(5);
                            } else {
                                const unsigned char byte = unit_next_byte(5);
                                write_standard_error(reinterpret_cast<const char*>(&byte), 1);
                            }
                        }
                        echo_until_end(5);
                    }),
                    c.read + "\r\nrun-time error F6501: READ(dados.txt)\r\n- end of file\r\n");
    }
}

TEST(RecordSource, UnitWithoutAFileIsAFailure) {
    TempDir directory;
    const char frame[] = "\r\nrun-time error F6530: READ()\r\n- unit not connected\r\n";
    expect_stop(run_in(directory, [] { unit_next_byte(9); }), frame);
    // A closed unit no longer names the file it had.
    expect_stop(run_in(directory, [] {
                    open_named(5, "dados.txt");
                    close_unit(5);
                    unit_next_byte(5);
                }),
                frame);
}

}  // namespace
