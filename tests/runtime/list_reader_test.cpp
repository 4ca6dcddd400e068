#include "runtime/list_reader.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <bit>
#include <cinttypes>
#include <cstdint>
#include <cstdio>
#include <functional>
#include <string>
#include <vector>

#include "runtime/error_messages.h"
#include "runtime/fp_environment.h"
#include "runtime/units.h"
#include "tests/support/files.h"
#include "tests/support/subprocess.h"
#include "tests/support/temp_dir.h"

namespace {

std::string read_frame(int number) {
    return "\r\nrun-time error F" + std::to_string(number) + ": READ(dados.txt)\r\n- " +
           error_message(number) + "\r\n";
}

// What a child reports on standard error when its READs all succeed.
void report(const std::string& text) {
    std::size_t done = 0;
    while (done < text.size()) {
        const ssize_t n = ::write(2, text.data() + done, text.size() - done);
        if (n <= 0) return;
        done += static_cast<std::size_t>(n);
    }
}

std::string integer_text(std::int32_t value) { return std::to_string(value); }

std::string real_text(double value) {
    char text[24];
    std::snprintf(text, sizeof text, "%016" PRIX64, std::bit_cast<std::uint64_t>(value));
    return text;
}

// Runs `body` in a child with "dados.txt" holding `bytes` in a fresh working
// directory and unit 5 connected to it.
ChildResult with_parameters_file(const std::string& bytes, const std::function<void()>& body) {
    TempDir dir;
    WorkingDirectory inside(dir.path());
    write_file(dir / "dados.txt", bytes);
    return run_in_child([&] {
        open_unit(5, "dados.txt", 9);
        body();
        close_unit(5);
    });
}

void expect_outcome(const ChildResult& result, int failure, const std::string& values,
                    const std::string& name) {
    if (failure != 0) {
        EXPECT_EQ(result.exit_status, 1) << name;
        EXPECT_EQ(result.standard_error, read_frame(failure)) << name;
    } else {
        EXPECT_EQ(result.exit_status, 0) << name;
        EXPECT_EQ(result.standard_error, values) << name;
    }
}

// ---------------------------------------------------------------------------
// Whole parameter files read by four statements, N, Re, beta and itmax.

struct ParametersCase {
    const char* name;
    std::string bytes;
    int failure;  // 0: the values below are read
    std::int32_t N;
    double Re;
    double beta;
    std::int32_t itmax;
};

std::string parameters_text(std::int32_t N, double Re, double beta, std::int32_t itmax) {
    return integer_text(N) + " " + real_text(Re) + " " + real_text(beta) + " " +
           integer_text(itmax);
}

using namespace std::string_literals;

const ParametersCase kParameterFiles[] = {
    {"CR LF", "21\r\n100.0\r\n0.5\r\n200\r\n", 0, 21, 100.0, 0.5, 200},
    {"LF only", "21\n100.0\n0.5\n200\n", 0, 21, 100.0, 0.5, 200},
    {"no final line end", "21\r\n100.0\r\n0.5\r\n200", 0, 21, 100.0, 0.5, 200},
    {"mixed line ends", "21\n100.0\r\n0.5\n200\r\n", 0, 21, 100.0, 0.5, 200},
    {"blank lines", "\r\n\r\n21\r\n\r\n100.0\r\n\n0.5\r\n\r\n\r\n200\r\n", 0, 21, 100.0, 0.5, 200},
    {"blank and tab lines", " \t \r\n21\r\n\t\r\n   100.0\r\n \r\n0.5\r\n\t\t\r\n  200\r\n", 0, 21,
     100.0, 0.5, 200},
    {"remarks", "21 N\r\n100.0\tRe\r\n0.5 beta (UDS 0, CDS 1)\r\n200 itmax, 'x' / 7\r\n", 0, 21,
     100.0, 0.5, 200},
    {"two values on a line", "21 100\r\n50.0\r\n0.5\r\n200\r\n", 0, 21, 50.0, 0.5, 200},
    {"value then comma", "21,22\r\n100.0,\r\n0.5/\r\n200\r\n", 0, 21, 100.0, 0.5, 200},
    {"decimal comma", "21\r\n100.0\r\n0,5\r\n200\r\n", 0, 21, 100.0, 0.0, 200},
    {"lone comma for beta", "21\r\n100.0\r\n,\r\n200\r\n", 0, 21, 100.0, 0.0, 200},
    {"blanks then comma for beta", "21\r\n100.0\r\n   ,0.7\r\n200\r\n", 0, 21, 100.0, 0.0, 200},
    {"slash for beta", "21\r\n100.0\r\n/ 0.7\r\n200\r\n", 0, 21, 100.0, 0.0, 200},
    {"repeat forms", "1*21\r\n2*100.0 7\r\n3*\r\n200\r\n", 0, 21, 100.0, 0.0, 200},
    {"itmax with an exponent", "21\r\n1.0+2\r\n5D-1\r\n2e2\r\n", 6101, 0, 0, 0, 0},
    {"exponent spellings", "21\r\n1.0+2\r\n5D-1\r\n200\r\n", 0, 21, 100.0, 0.5, 200},
    {"records after the fourth are never read", "21\r\n100\r\n.5\r\n200\r\n'(\r\nxyz", 0, 21,
     100.0, 0.5, 200},
    {"Ctrl-Z after the integers", "21\x1A\r\n100.0\r\n0.5\r\n200\x1A\r\n\x1A", 0, 21, 100.0, 0.5,
     200},
    {"Ctrl-Z after a real", "21\r\n100.0\x1A\r\n0.5\r\n200\r\n", 6103, 0, 0, 0, 0},
    {"UTF-8 byte-order mark", "\xEF\xBB\xBF" "21\r\n100.0\r\n0.5\r\n200\r\n", 6101, 0, 0, 0, 0},
    {"UTF-16 LE byte-order mark", "\xFF\xFE" "2\0" "1\0" "\r\0\n\0"s, 6101, 0, 0, 0, 0},
    {"UTF-16 BE byte-order mark", "\xFE\xFF" "\0" "2\0" "1\0\r\0\n"s, 6101, 0, 0, 0, 0},
    {"zero bytes", "", 6501, 0, 0, 0, 0},
    {"only blank lines", "\r\n \r\n\t\r\n", 6501, 0, 0, 0, 0},
    {"three values", "21\r\n100.0\r\n0.5\r\n", 6501, 0, 0, 0, 0},
    {"three values, no final line end", "21\r\n100.0\r\n0.5", 6501, 0, 0, 0, 0},
    {"three values then blank lines", "21\r\n100.0\r\n0.5\r\n\r\n  \r\n", 6501, 0, 0, 0, 0},
    {"N with a decimal point", "21.0\r\n100.0\r\n0.5\r\n200\r\n", 6101, 0, 0, 0, 0},
    {"N out of range", "2147483648\r\n100.0\r\n0.5\r\n200\r\n", 6100, 0, 0, 0, 0},
    {"Re out of range", "21\r\n1E400\r\n0.5\r\n200\r\n", 6102, 0, 0, 0, 0},
    {"Re not a number", "21\r\nRe=100\r\n0.5\r\n200\r\n", 6103, 0, 0, 0, 0},
    {"quoted N", "'21'\r\n100.0\r\n0.5\r\n200\r\n", 6504, 0, 0, 0, 0},
    {"parenthesised Re", "21\r\n(100.0,0.0)\r\n0.5\r\n200\r\n", 6504, 0, 0, 0, 0},
    {"itmax based", "21\r\n100.0\r\n0.5\r\n16#C8\r\n", 0, 21, 100.0, 0.5, 200},
};

TEST(ListReader, ReadsParameterFiles) {
    for (const ParametersCase& c : kParameterFiles) {
        const ChildResult result = with_parameters_file(c.bytes, [] {
            std::int32_t N = 0;
            double Re = 0.0;
            double beta = 0.0;
            std::int32_t itmax = 0;
            begin_read(5);
            get_integer(N);
            end_read();
            begin_read(5);
            get_real(Re);
            end_read();
            begin_read(5);
            get_real(beta);
            end_read();
            begin_read(5);
            get_integer(itmax);
            end_read();
            report(parameters_text(N, Re, beta, itmax));
        });
        expect_outcome(result, c.failure, parameters_text(c.N, c.Re, c.beta, c.itmax), c.name);
    }
}

// ---------------------------------------------------------------------------
// One statement with one item, which starts at a value a null value keeps.

constexpr std::int32_t kIntegerBefore = 77;
constexpr double kRealBefore = 7.5;

enum class Item { Integer, Real };

struct ValueCase {
    std::string bytes;
    Item item;
    int failure;
    std::int32_t integer;  // the integer read, or the real's value below
    double real;
};

const ValueCase kValues[] = {
    {"21\r\n", Item::Integer, 0, 21, 0},
    {"+21\r\n", Item::Integer, 0, 21, 0},
    {"021\r\n", Item::Integer, 0, 21, 0},
    {"  \t 21\r\n", Item::Integer, 0, 21, 0},
    {"21/\r\n", Item::Integer, 0, 21, 0},
    {"2,1E1\r\n", Item::Integer, 0, 2, 0},
    {"2147483647\r\n", Item::Integer, 0, 2147483647, 0},
    {"-2147483648\r\n", Item::Integer, 0, INT32_MIN, 0},
    {"-\r\n", Item::Integer, 0, 0, 0},
    {"16#1F\r\n", Item::Integer, 0, 31, 0},
    {"#1F\r\n", Item::Integer, 0, 31, 0},
    {"\x1A\r\n", Item::Integer, 0, 0, 0},
    {"21.0\r\n", Item::Integer, 6101, 0, 0},
    {"2.1E1\r\n", Item::Integer, 6101, 0, 0},
    {"7'\r\n", Item::Integer, 6101, 0, 0},
    {"%\r\n", Item::Integer, 6101, 0, 0},
    {"2147483648\r\n", Item::Integer, 6100, 0, 0},
    {"1#0\r\n", Item::Integer, 6303, 0, 0},
    {"16#1#2\r\n", Item::Integer, 6302, 0, 0},
    {"100\r\n", Item::Real, 0, 0, 100.0},
    {"100.0\r\n", Item::Real, 0, 0, 100.0},
    {"1E2\r\n", Item::Real, 0, 0, 100.0},
    {"1e+2\r\n", Item::Real, 0, 0, 100.0},
    {"1D2\r\n", Item::Real, 0, 0, 100.0},
    {"1.0+2\r\n", Item::Real, 0, 0, 100.0},
    {".1E3\r\n", Item::Real, 0, 0, 100.0},
    {"1.5-3\r\n", Item::Real, 0, 0, 0.0015},
    {"-0\r\n", Item::Real, 0, 0, -0.0},
    {"1E-400\r\n", Item::Real, 0, 0, 0.0},
    {"1.5Q3\r\n", Item::Real, 6103, 0, 0},
    {"1.5E\r\n", Item::Real, 6103, 0, 0},
    {".\r\n", Item::Real, 6103, 0, 0},
    {"+\r\n", Item::Real, 6103, 0, 0},
    {"1E400\r\n", Item::Real, 6102, 0, 0},
    // Null values keep the item.
    {",7\r\n", Item::Integer, 0, kIntegerBefore, 0},
    {"  ,7\r\n", Item::Integer, 0, kIntegerBefore, 0},
    {"/7\r\n", Item::Real, 0, 0, kRealBefore},
    // Repeat forms.
    {"3*7\r\n", Item::Integer, 0, 7, 0},
    {"3*2.5\r\n", Item::Real, 0, 0, 2.5},
    {"16#3*7\r\n", Item::Integer, 0, 7, 0},
    {"3* 7\r\n", Item::Integer, 0, kIntegerBefore, 0},
    {"3*,7\r\n", Item::Real, 0, 0, kRealBefore},
    {"0*7\r\n", Item::Integer, 6502, 0, 0},
    {"*7\r\n", Item::Integer, 6502, 0, 0},
    {"2*3*4\r\n", Item::Integer, 6503, 0, 0},
    {"1*2*3\r\n", Item::Real, 6503, 0, 0},
    {"-3*7\r\n", Item::Integer, 6101, 0, 0},  // a repeat count has no sign
    {"3.0*7\r\n", Item::Integer, 6101, 0, 0},
    {"99999999999*7\r\n", Item::Real, 6100, 0, 0},
    {"3*'7'\r\n", Item::Integer, 6504, 0, 0},
    // Quoted texts and parenthesised pairs, also over record ends.
    {"'7'\r\n", Item::Integer, 6504, 0, 0},
    {"\"7\"\r\n", Item::Real, 6504, 0, 0},
    {"(1.0,2.0)\r\n", Item::Real, 6504, 0, 0},
    {"(1.0,\r\n2.0)\r\n", Item::Real, 6504, 0, 0},
    {"'7\r\n", Item::Integer, 6501, 0, 0},
    // A Ctrl-Z ends an integer text, not a real one.
    {"21\x1A\r\n", Item::Integer, 0, 21, 0},
    {"21\x1A\r\n", Item::Real, 6103, 0, 0},
    // The value text area: 259 characters fit, a 260th is refused at once.
    {std::string(257, '0') + "21\r\n", Item::Integer, 0, 21, 0},
    {std::string(256, '0') + "2.5\r\n", Item::Real, 0, 0, 2.5},
    {std::string(258, '0') + "21\r\n", Item::Integer, error_number::kValueTooLong, 0, 0},
    {std::string(100000, '7'), Item::Real, error_number::kValueTooLong, 0, 0},
};

TEST(ListReader, ReadsOneValue) {
    for (const ValueCase& c : kValues) {
        const Item item = c.item;
        const ChildResult result = with_parameters_file(c.bytes, [item] {
            std::int32_t integer = kIntegerBefore;
            double real = kRealBefore;
            begin_read(5);
            if (item == Item::Integer) get_integer(integer);
            else get_real(real);
            end_read();
            report(item == Item::Integer ? integer_text(integer) : real_text(real));
        });
        const std::string expected =
            c.item == Item::Integer ? integer_text(c.integer) : real_text(c.real);
        expect_outcome(result, c.failure, expected, c.bytes.substr(0, 40));
    }
}

// ---------------------------------------------------------------------------
// Statements of several integer items, then a one-item statement that shows
// where the first one left the unit.

struct StatementCase {
    std::string bytes;
    std::vector<std::int32_t> items;  // as read; -1 is the value before
};

const StatementCase kStatements[] = {
    {"1 2,3\r\n9\r\n", {1, 2, 3}},
    {"1,,3\r\n9\r\n", {1, -1, 3}},
    {"1 , 3\r\n9\r\n", {1, 3}},
    {"1 ,, 3\r\n9", {1, -1, 3}},
    {",5\r\n9\r\n", {-1, 5}},
    {"\t1\t2\t\r\n9\r\n", {1, 2}},
    {"1\r\n\r\n2\r\n9\r\n", {1, 2}},  // ended by its record end: nothing more skipped
    {"1\r\n2 \r\n9\r\n", {1, 2}},
    {"1\n2\n9\n", {1, 2}},
    {"3*7\r\n9\r\n", {7, 7, 7}},
    {"2*7 8\r\n9\r\n", {7, 7, 8}},
    {"2* 8\r\n9\r\n", {-1, -1, 8}},
    {"5*7\r\n9\r\n", {7, 7}},  // the rest of the repeat is dropped
    {"3*\r\n9\r\n", {-1}},
    {"1/ 2\r\n9\r\n", {1, -1}},
    {"1 /\r\n9\r\n", {1, -1}},
    {"2*4/\r\n9\r\n", {4, 4, -1}},
};

TEST(ListReader, SeparatesValuesOfOneStatement) {
    for (const StatementCase& c : kStatements) {
        const std::size_t count = c.items.size();
        const ChildResult result = with_parameters_file(c.bytes, [count] {
            std::vector<std::int32_t> items(count, -1);
            begin_read(5);
            for (std::int32_t& item : items) get_integer(item);
            end_read();
            std::int32_t next = -1;
            begin_read(5);
            get_integer(next);
            end_read();
            std::string text;
            for (std::int32_t item : items) text += integer_text(item) + " ";
            report(text + "then " + integer_text(next));
        });
        std::string expected;
        for (std::int32_t item : c.items) expected += integer_text(item) + " ";
        expect_outcome(result, 0, expected + "then 9", c.bytes);
    }
}

// The reader takes the end of the file on the next READ once the last
// record, without its line end, has been read.
TEST(ListReader, EndOfFileAfterLastRecordWithoutLineEnd) {
    const ChildResult result = with_parameters_file("5 6", [] {
        std::int32_t item = 0;
        begin_read(5);
        get_integer(item);
        end_read();
        report(integer_text(item));
        begin_read(5);
        get_integer(item);
        end_read();
    });
    EXPECT_EQ(result.exit_status, 1);
    EXPECT_EQ(result.standard_error, std::string("5").append(read_frame(6501)));
}

// Reading happens with the traps armed: the conversions at the ends of the
// range must not raise any floating-point condition.
TEST(ListReader, ReadsExtremeRealsWithTrapsArmed) {
    const ChildResult result = with_parameters_file(
        "1.7976931348623157e308\r\n4.9406564584124654e-324\r\n1E-400\r\n2.2250738585072011e-308\r\n",
        [] {
            start_up_floating_point();
            std::string text;
            for (int i = 0; i < 4; ++i) {
                double item = 0.0;
                begin_read(5);
                get_real(item);
                end_read();
                text += real_text(item) + " ";
            }
            report(text);
        });
    EXPECT_EQ(result.exit_status, 0);
    EXPECT_EQ(result.standard_error,
              "7FEFFFFFFFFFFFFF 0000000000000001 0000000000000000 000FFFFFFFFFFFFF ");
}

}  // namespace
