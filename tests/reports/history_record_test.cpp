#include "reports/history_record.h"

#include <gtest/gtest.h>

#include "runtime/units.h"
#include "tests/support/files.h"
#include "tests/support/temp_dir.h"

namespace {

TEST(HistoryRecord, OneRecordPerCallOnUnit8) {
    TempDir dir;
    const std::string path = dir / "ucentral.dat";
    write_file(path, "an older and longer history file\r\n");
    open_unit(8, path.c_str(), path.size());
    write_history_record(1, 0.025);
    write_history_record(2, 0.0);
    write_history_record(1000000000, 1.5e-200);
    close_unit(8);
    EXPECT_EQ(read_file(path).value(),
              "        1    2.500000000000000E-02\r\n"
              "        2    0.000000000000000E+00\r\n"
              "*********    1.500000000000000-200\r\n");
}

}  // namespace
