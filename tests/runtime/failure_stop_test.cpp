#include "runtime/failure_stop.h"

#include <unistd.h>

#include <string>

#include <gtest/gtest.h>

#include "runtime/units.h"
#include "tests/runtime/child_check.h"
#include "tests/support/files.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"

namespace {

void open_named(int unit, const std::string& name) { open_unit(unit, name.data(), name.size()); }

void write_record(int unit, const std::string& record) {
    unit_begin_write(unit);
    unit_write(unit, record.data(), record.size());
    unit_end_record(unit);
}

struct FrameCase {
    int number;
    FailureKind kind;
    const char* file_name;
    const char* message;
    const char* frame;
};

TEST(FailureStop, FramesByteForByte) {
    const FrameCase cases[] = {
        {6422, FailureKind::Close, "u.dat", "disk full",
         "\r\nrun-time error F6422: CLOSE(u.dat)\r\n- disk full\r\n"},
        {6421, FailureKind::Write, "saida.txt", "access denied",
         "\r\nrun-time error F6421: WRITE(saida.txt)\r\n- access denied\r\n"},
        {6416, FailureKind::Open, "nodir/x.txt", "file not found",
         "\r\nrun-time error F6416: OPEN(nodir/x.txt)\r\n- file not found\r\n"},
        {6501, FailureKind::Read, "dados.txt", "end of file",
         "\r\nrun-time error F6501: READ(dados.txt)\r\n- end of file\r\n"},
        {6101, FailureKind::Read, "dados.txt", "",
         "\r\nrun-time error F6101: READ(dados.txt)\r\n\r\n"},
        {6772, FailureKind::Allocation, "ignored", "not enough memory for array",
         "\r\nrun-time error F6772\r\n- not enough memory for array\r\n"},
        {6101, FailureKind::Math, "ignored", "floating-point error: invalid",
         "\r\nrun-time error M6101: MATH\r\n- floating-point error: invalid\r\n"},
        {6203, FailureKind::Math, "", "exp: OVERFLOW error",
         "\r\nrun-time error M6203: MATH\r\n- exp: OVERFLOW error\r\n"},
        {412, FailureKind::Open, "a", "", "\r\nrun-time error F0412: OPEN(a)\r\n\r\n"},
    };
    for (const FrameCase& c : cases) {
        SCOPED_TRACE(c.frame);
        const ChildResult result =
            run_in_child([&] { failure_stop(c.number, c.kind, c.file_name, c.message); });
        EXPECT_EQ(result.exit_status, 1);
        EXPECT_EQ(result.standard_error, c.frame);
    }
}

TEST(FailureStop, LongFileNameIsShownWhole) {
    const std::string name(kMaxFileName, 'f');
    const ChildResult result =
        run_in_child([&] { failure_stop(6416, FailureKind::Open, name.c_str(), "file not found"); });
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error,
              "\r\nrun-time error F6416: OPEN(" + name + ")\r\n- file not found\r\n");
}

TEST(FailureStop, ClosedStandardErrorStillEndsWithStatus1) {
    const ChildResult result = run_in_child([] {
        ::close(STDERR_FILENO);
        failure_stop(6501, FailureKind::Read, "dados.txt", "end of file");
    });
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, "");
}

TEST(FailureStop, TerminationWritesOutEveryConnectedUnit) {
    TempDir directory;
    write_file(directory / "dados.txt", "kept\r\n");
    const ChildResult result = run_in_child([&] {
        WorkingDirectory here(directory.path());
        open_named(8, "ucentral.dat");
        write_record(8, "record 1");
        write_record(8, "record 2");
        open_named(7, "u.dat");
        write_record(7, "profile");
        open_named(5, "dados.txt");  // read, never written: stays as it was
        CHILD_CHECK(unit_next_byte(5) == 'k');
        CHILD_CHECK(!ending());
        failure_stop(6103, FailureKind::Math, "", "floating-point error: divide by zero");
    });
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error,
              "\r\nrun-time error M6103: MATH\r\n- floating-point error: divide by zero\r\n");
    EXPECT_EQ(read_file(directory / "ucentral.dat"), "record 1\r\nrecord 2\r\n");
    EXPECT_EQ(read_file(directory / "u.dat"), "profile\r\n");
    EXPECT_EQ(read_file(directory / "dados.txt"), "kept\r\n");
}

// Units close in number order: 2 before the full device on 3, 4 after it.
void connect_around_full_device() {
    open_named(2, "before.txt");
    write_record(2, "before");
    open_named(3, "/dev/full");
    write_record(3, "lost");
    open_named(4, "after.txt");
    write_record(4, "after");
}

TEST(FailureStop, FailureWhileClosingIsReportedAndTheRestAbandoned) {
    TempDir directory;
    const ChildResult result = run_in_child([&] {
        WorkingDirectory here(directory.path());
        connect_around_full_device();
        failure_stop(6501, FailureKind::Read, "dados.txt", "end of file");
    });
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error,
              "\r\nrun-time error F6501: READ(dados.txt)\r\n- end of file\r\n"
              "\r\nrun-time error F6422: CLOSE(/dev/full)\r\n- disk full\r\n");
    EXPECT_EQ(read_file(directory / "before.txt"), "before\r\n");
    EXPECT_EQ(read_file(directory / "after.txt"), "");
}

TEST(NormalEnd, Status0AndNothingOnStandardError) {
    TempDir directory;
    const ChildResult result = run_in_child([&] {
        WorkingDirectory here(directory.path());
        open_named(8, "ucentral.dat");
        write_record(8, "last");
        normal_end();
    });
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error, "");
    EXPECT_EQ(read_file(directory / "ucentral.dat"), "last\r\n");
}

// Records lost at the end are a failure, not a normal end.
TEST(NormalEnd, FailureWhileClosingEndsWithStatus1) {
    TempDir directory;
    const ChildResult result = run_in_child([&] {
        WorkingDirectory here(directory.path());
        connect_around_full_device();
        normal_end();
    });
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, "\r\nrun-time error F6422: CLOSE(/dev/full)\r\n- disk full\r\n");
    EXPECT_EQ(read_file(directory / "before.txt"), "before\r\n");
    EXPECT_EQ(read_file(directory / "after.txt"), "");
}

}  // namespace
