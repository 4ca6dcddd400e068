#include "runtime/failure_stop.h"

#include <cstddef>

#include "runtime/process_exit.h"
#include "runtime/standard_error.h"
#include "runtime/units.h"

namespace {

// Plain flag, not atomic: the program has one thread, and the trap handler
// runs on it synchronously.
volatile bool ending_flag = false;

// Set when a failure is reported during the termination processing. A normal
// end that could not write out its records is no success: it ends with 1.
volatile bool failed_while_ending = false;

// Fixed-size frame builder: the frame must be made without allocating, since
// a failure may be raised from the floating-point trap handler.
class Frame {
public:
    void add(const char* text) {
        while (*text != '\0') add_char(*text++);
    }
    void add_char(char c) {
        if (length_ < sizeof(bytes_)) bytes_[length_++] = c;
    }
    void add_number(int number) {
        char digits[4];
        for (int i = 3; i >= 0; --i) {
            digits[i] = static_cast<char>('0' + number % 10);
            number /= 10;
        }
        for (char d : digits) add_char(d);
    }
    void write() const { write_standard_error(bytes_, length_); }

private:
    char bytes_[2048];
    std::size_t length_ = 0;
};

const char* statement_word(FailureKind kind) {
    switch (kind) {
        case FailureKind::Close: return ": CLOSE(";
        case FailureKind::Write: return ": WRITE(";
        case FailureKind::Open: return ": OPEN(";
        case FailureKind::Read: return ": READ(";
        case FailureKind::Allocation: return "\r\n- ";
        case FailureKind::Math: return ": MATH\r\n- ";
    }
    return "";
}

bool names_unit(FailureKind kind) {
    return kind != FailureKind::Allocation && kind != FailureKind::Math;
}

[[noreturn]] void terminate_run(int status) {
    ending_flag = true;
    close_all_units();
    end_process(failed_while_ending ? 1 : status);
}

}  // namespace

void failure_stop(int number, FailureKind kind, const char* file_name, const char* message) {
    if (file_name == nullptr) file_name = "";
    if (message == nullptr) message = "";
    Frame frame;
    frame.add("\r\nrun-time error ");
    frame.add_char(kind == FailureKind::Math ? 'M' : 'F');
    frame.add_number(number);
    frame.add(statement_word(kind));
    if (names_unit(kind)) {
        frame.add(file_name);
        frame.add(*message != '\0' ? ")\r\n- " : ")\r\n");
    }
    frame.add(message);
    frame.add("\r\n");
    frame.write();
    if (ending_flag) {
        failed_while_ending = true;
        return;
    }
    terminate_run(1);
}

void normal_end() { terminate_run(0); }

bool ending() { return ending_flag; }
