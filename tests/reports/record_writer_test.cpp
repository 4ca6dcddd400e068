#include "reports/record_writer.h"

#include <gtest/gtest.h>

#include <bit>
#include <cstdint>
#include <string>
#include <variant>
#include <vector>

#include "runtime/error_messages.h"
#include "runtime/units.h"
#include "tests/support/files.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"

namespace {

using Item = std::variant<std::int32_t, double>;

constexpr int kUnit = 20;

void write_statement(const Format& format, const std::vector<Item>& items) {
    begin_write(kUnit, format);
    for (const Item& item : items) {
        if (const auto* i = std::get_if<std::int32_t>(&item)) {
            put_integer(*i);
        } else {
            put_real(std::get<double>(item));
        }
    }
    end_write();
}

// The file's bytes after one statement on a fresh unit.
std::string written(const char* text, const std::vector<Item>& items) {
    TempDir dir;
    const std::string path = dir / "out.txt";
    open_unit(kUnit, path.c_str(), path.size());
    const Format format(text);
    write_statement(format, items);
    close_unit(kUnit);
    return read_file(path).value();
}

struct RecordCase {
    const char* format;
    std::vector<Item> items;
    std::string expected;
};

const std::string kNLiteral =
    " = N:      n\xFAmero de volumes de controle (reais + dois fict\xED"
    "cios)";

const RecordCase kRecordCases[] = {
    // Empty line; I9 after T10 puts "5" in column 18; T20 leaves column 19 blank.
    {"(/,T10,I9,T20,' = N:      n\xFAmero de volumes de controle (reais + dois fict\xED"
     "cios)')",
     {5},
     "\r\n" + std::string(17, ' ') + "5 " + kNLiteral + "\r\n"},
    {"(2/,'Norma L1:     ',1P,E25.15)", {1.0}, "\r\n\r\nNorma L1:         1.000000000000000E+00\r\n"},
    {"('a',2/,'b')", {}, "a\r\n\r\nb\r\n"},
    // 3/ ends the literal's record and two empty ones; the statement then ends a third.
    {"('a',3/)", {}, "a\r\n\r\n\r\n\r\n"},
    // Running out of items: the tab and literal after the last field are still carried out.
    {"(1P,E18.10,T20,' = Re:     n\xFAmero de Reynolds')",
     {10.0},
     "  1.0000000000E+01  = Re:     n\xFAmero de Reynolds\r\n"},
    {"(I2,'a',I2,'b')", {1}, " 1a\r\n"},
    {"(I5)", {}, "\r\n"},
    // Tabs never leave blanks at the end of a record.
    {"('abc',T10)", {}, "abc\r\n"},
    {"(T5,I3,T20)", {7}, "      7\r\n"},
    {"(T20)", {}, "\r\n"},
    // Tab back: later characters replace, the record keeps its length.
    {"('abcdef',T3,'XY')", {}, "abXYef\r\n"},
    {"('abcdef',T3,'X',T10,'Z')", {}, "abXdef   Z\r\n"},
    {"('abcdefgh',T2,I3)", {5}, "a  5efgh\r\n"},
    {"('ab',T6,T1,'X')", {}, "Xb\r\n"},  // the tab back drops the owed blanks
    {"('ab',T6,'')", {}, "ab\r\n"},      // an empty literal writes no owed blanks
    // Only up to the closing parenthesis is read.
    {"('Norma L1 / N: ',1P,E25.15)wgnuplot ucentral.gnu", {0.5}, "Norma L1 / N:     5.000000000000000E-01\r\n"},
    {"('it''s',' ''q''')", {}, "it's 'q'\r\n"},
    {"( 'a' , I2 ,  T6 , 'b' )", {7}, "a 7  b\r\n"},
    // Groups repeat; the scale factor holds in later passes.
    {"(I10,4(1P,E25.15))",
     {1, 0.0, -1.0, 1.0, 0.0},
     "         1    0.000000000000000E+00   -1.000000000000000E+00    1.000000000000000E+00"
     "    0.000000000000000E+00\r\n"},
    {"(2(2('x',I1),'|'))", {1, 2, 3, 4}, "x1x2|x3x4|\r\n"},
    // Reversion to the last group directly inside the outer parentheses, with its count.
    {"(I3,2(I2,'x'))", {1, 2, 3, 4, 5, 6, 7}, "  1 2x 3x\r\n 4x 5x\r\n 6x 7x\r\n"},
    {"(I3,2(I2,'x'))", {1, 2, 3, 4, 5, 6}, "  1 2x 3x\r\n 4x 5x\r\n 6x\r\n"},
    {"(I1,2(I1,3(I1)),'e')", {1, 2, 3, 4, 5, 6, 7, 8, 9, 1, 2}, "123456789e\r\n12\r\n"},
    // Without a group, the whole format again; the scale factor carries over.
    {"('v',I2)", {1, 2}, "v 1\r\nv 2\r\n"},
    {"(1P,E9.1,(E9.1))", {1.0, 2.0, 3.0}, "  1.0E+00  2.0E+00\r\n  3.0E+00\r\n"},
    // Too wide for the field: asterisks.
    {"(I2,E8.1)", {100}, "**\r\n"},
    {"(1P,E7.1)", {-1.0}, "*******\r\n"},
    {"(T32766,'a')", {}, std::string(32765, ' ') + "a\r\n"},
    {"(T32767,'a')", {}, std::string(32766, ' ') + "a\r\n"},
};

TEST(RecordWriter, StatementsGiveTheseBytes) {
    for (const RecordCase& c : kRecordCases) {
        EXPECT_EQ(written(c.format, c.items), c.expected) << c.format;
    }
}

// The outer parentheses around `levels` nested groups around I2.
std::string nested(int levels) {
    return std::string(static_cast<std::size_t>(levels) + 1, '(') + "I2" +
           std::string(static_cast<std::size_t>(levels) + 1, ')');
}

TEST(RecordWriter, SixteenNestedGroupsAreAccepted) {
    EXPECT_EQ(written(nested(16).c_str(), {42}), "42\r\n");
}

TEST(RecordWriter, NothingCarriesOverAndTheFirstStatementCutsTheFile) {
    TempDir dir;
    const std::string path = dir / "out.txt";
    write_file(path, std::string(5000, 'Z'));
    open_unit(kUnit, path.c_str(), path.size());
    const Format tab_and_scale("(1P,E9.1,T30)");
    const Format integer("(I3)");
    write_statement(tab_and_scale, {1.0});
    write_statement(integer, {7});
    write_statement(tab_and_scale, {2.0});
    close_unit(kUnit);
    EXPECT_EQ(read_file(path).value(), "  1.0E+00\r\n  7\r\n  2.0E+00\r\n");
}

std::string frame(int number) {
    return "\r\nrun-time error F" + std::to_string(number) + ": WRITE(out.txt)\r\n- " +
           error_message(number) + "\r\n";
}

struct FailureCase {
    std::string format;
    std::vector<Item> items;
    int number;
};

const FailureCase kFailureCases[] = {
    {"I5)", {1}, error_number::kFormatMalformed},
    {" (I5)", {1}, error_number::kFormatMalformed},
    {"(I5", {1}, error_number::kFormatMalformed},
    {"(2(I5)", {1}, error_number::kFormatMalformed},
    {"('abc)", {}, error_number::kFormatMalformed},
    {"(X5)", {}, error_number::kFormatMalformed},
    {"(i5)", {1}, error_number::kFormatMalformed},
    {"(I)", {1}, error_number::kFormatMalformed},
    {"(T)", {}, error_number::kFormatMalformed},
    {"(E25)", {1.0}, error_number::kFormatMalformed},
    {"(E25.)", {1.0}, error_number::kFormatMalformed},
    {"(E 25.15)", {1.0}, error_number::kFormatMalformed},
    {"(I0)", {1}, error_number::kFormatMalformed},
    {"(T0)", {}, error_number::kFormatMalformed},
    {"(0/)", {}, error_number::kFormatMalformed},
    {"(0(I2))", {1}, error_number::kFormatMalformed},
    {"(2I5)", {1}, error_number::kFormatMalformed},
    {"(I5 I5)", {1}, error_number::kFormatMalformed},
    {"(I5,)", {1}, error_number::kFormatMalformed},
    {"(,I5)", {1}, error_number::kFormatMalformed},
    {"(1PE25.15)", {1.0}, error_number::kFormatMalformed},
    {"(\"a\")", {}, error_number::kFormatMalformed},
    {"(I40000)", {1}, error_number::kFormatUnsupported},
    {"(T99999999999999999999)", {}, error_number::kFormatUnsupported},
    {"(E9.1)", {1.0}, error_number::kFormatUnsupported},
    {"(2P,E9.1)", {1.0}, error_number::kFormatUnsupported},
    {"(1P,E25.15)", {std::int32_t{1}}, error_number::kFormatIntegerForReal},
    {"(1P,I9)", {1.0}, error_number::kFormatRealForInteger},
    {"('abc')", {1}, error_number::kFormatNoDescriptor},
    {"()", {1}, error_number::kFormatNoDescriptor},
    {"(I5,2('x'))", {1, 2}, error_number::kFormatNoDescriptor},
    {"(T32767,'ab')", {}, error_number::kRecordTooLong},
    {"(T32760,I9)", {1}, error_number::kRecordTooLong},
    {nested(17), {1}, error_number::kFormatMalformed},
};

TEST(RecordWriter, FaultsEndTheRunWithAWriteStopOnTheUnit) {
    for (const FailureCase& c : kFailureCases) {
        TempDir dir;
        WorkingDirectory here(dir.path());
        const ChildResult result = run_in_child([&] {
            open_unit(kUnit, "out.txt", 7);
            const Format format(c.format.c_str());
            write_statement(format, c.items);
        });
        EXPECT_EQ(result.exit_status, 1) << c.format;
        EXPECT_EQ(result.standard_error, frame(c.number)) << c.format;
    }
}

TEST(RecordWriter, RecordsBeforeAFaultReachTheFile) {
    TempDir dir;
    WorkingDirectory here(dir.path());
    const ChildResult result = run_in_child([] {
        open_unit(kUnit, "out.txt", 7);
        const Format format("('ok',/,I2)");
        write_statement(format, {1.0});
    });
    EXPECT_EQ(result.standard_error, frame(error_number::kFormatRealForInteger));
    EXPECT_EQ(read_file(dir / "out.txt").value(), "ok\r\n");
}

}  // namespace
