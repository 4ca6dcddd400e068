#include "runtime/units.h"

#include <cstdint>
#include <cstring>

#include "runtime/error_messages.h"
#include "runtime/file_system.h"
#include "runtime/process_exit.h"

namespace {

struct Unit {
    bool connected = false;
    bool cut = false;
    FileHandle handle = -1;
    char name[kMaxFileName + 1] = {};
    std::uint64_t position = 0;  // where the next byte is read or written

    char output[kUnitBufferSize];
    std::size_t output_length = 0;

    char input[kUnitBufferSize];
    std::size_t input_length = 0;
    std::size_t input_next = 0;
    int last_byte = -1;          // last byte taken from the file, -1 before any
    bool line_feed_supplied = false;
};

// Static storage: the failure stop closes units from a trap handler, where
// nothing may be allocated.
Unit unit_table[kMaxUnit + 1];

// The name shown for a unit that is outside the table or not connected.
const char kNoName[] = "";

Unit* find(int unit) {
    if (unit < 0 || unit > kMaxUnit) return nullptr;
    return &unit_table[unit];
}

// A free unit has no file: the frame names none, not the file of an earlier
// connection.
Unit& connected_unit(int unit, FailureKind kind) {
    Unit* u = find(unit);
    if (u == nullptr || !u->connected) {
        const int number = error_number::kUnitNotConnected;
        failure_stop(number, kind, kNoName, error_message(number));
        end_process(1);
    }
    return *u;
}

// Passes the buffered characters to the file. On failure the buffer is
// dropped, so that closing the unit later does not report the failure twice.
int flush(Unit& u) {
    const int status = write_bytes(u.handle, u.output, u.output_length);
    u.position += u.output_length;
    u.output_length = 0;
    return status;
}

void disconnect(Unit& u) {
    u.connected = false;
    u.handle = -1;
    u.output_length = 0;
    u.input_length = u.input_next = 0;
}

// 0 or the CLOSE failure number; the unit is free afterwards either way.
int close_connection(Unit& u) {
    int status = u.cut && u.output_length > 0 ? flush(u) : 0;
    const int close_status = close_file(u.handle);
    if (status == 0) status = close_status;
    disconnect(u);
    return status;
}

// Reads the next block into the input buffer; false at the end of the file.
bool refill(Unit& u, int unit) {
    std::size_t got = 0;
    if (read_bytes(u.handle, u.input, sizeof(u.input), got) != 0) {
        unit_failure(unit, FailureKind::Read, 6500);
    }
    u.input_length = got;
    u.input_next = 0;
    return got > 0;
}

unsigned char take(Unit& u) {
    const unsigned char byte = static_cast<unsigned char>(u.input[u.input_next++]);
    u.last_byte = byte;
    ++u.position;
    return byte;
}

bool connected_elsewhere(const char* name) {
    for (const Unit& u : unit_table) {
        if (u.connected && std::strcmp(u.name, name) == 0) return true;
    }
    return false;
}

}  // namespace

void unit_failure(int unit, FailureKind kind, int number) {
    const Unit* u = find(unit);
    failure_stop(number, kind, u != nullptr ? u->name : kNoName, error_message(number));
    end_process(1);  // reached only if raised while the run is already ending
}

void open_unit(int unit, const char* name, std::size_t length) {
    Unit* u = find(unit);
    if (u == nullptr) unit_failure(unit, FailureKind::Open, 6412);
    close_unit(unit);
    const std::size_t kept = length < kMaxFileName ? length : kMaxFileName;
    std::memcpy(u->name, name, kept);
    u->name[kept] = '\0';
    if (length > kMaxFileName || std::memchr(name, '\0', length) != nullptr) {
        unit_failure(unit, FailureKind::Open, 6412);
    }
    if (connected_elsewhere(u->name)) unit_failure(unit, FailureKind::Open, 6413);

    OpenedFile opened;
    if (const int status = open_shared(u->name, opened); status != 0) {
        unit_failure(unit, FailureKind::Open, status);
    }
    u->connected = true;
    u->cut = opened.created;
    u->handle = opened.handle;
    u->position = 0;
    u->output_length = 0;
    u->input_length = u->input_next = 0;
    u->last_byte = -1;
    u->line_feed_supplied = false;
}

void close_unit(int unit) {
    Unit* u = find(unit);
    if (u == nullptr || !u->connected) return;
    if (const int status = close_connection(*u); status != 0) {
        unit_failure(unit, FailureKind::Close, status);
    }
}

void close_all_units() {
    for (int unit = 0; unit <= kMaxUnit; ++unit) {
        Unit& u = unit_table[unit];
        if (!u.connected) continue;
        if (const int status = close_connection(u); status != 0) {
            failure_stop(status, FailureKind::Close, u.name, error_message(status));
            return;
        }
    }
}

unsigned char unit_next_byte(int unit) {
    Unit& u = connected_unit(unit, FailureKind::Read);
    if (u.input_next == u.input_length && !refill(u, unit)) {
        if (u.last_byte != -1 && u.last_byte != '\n' && !u.line_feed_supplied) {
            u.line_feed_supplied = true;
            return '\n';
        }
        unit_failure(unit, FailureKind::Read, 6501);
    }
    return take(u);
}

void unit_skip_record(int unit) {
    Unit& u = connected_unit(unit, FailureKind::Read);
    while (true) {
        if (u.input_next == u.input_length && !refill(u, unit)) {
            u.line_feed_supplied = true;  // the last record is complete at the end of the file
            return;
        }
        if (take(u) == '\n') return;
    }
}

void unit_begin_write(int unit) {
    Unit& u = connected_unit(unit, FailureKind::Write);
    if (u.cut) return;
    u.input_length = u.input_next = 0;
    if (const int status = cut_at(u.handle, u.position); status != 0) {
        unit_failure(unit, FailureKind::Write, status);
    }
    u.cut = true;
}

void unit_write(int unit, const char* bytes, std::size_t count) {
    Unit& u = connected_unit(unit, FailureKind::Write);
    // Characters for an uncut connection would never be written out: the
    // statement's cut comes first, as if the statement had begun here.
    if (!u.cut) unit_begin_write(unit);
    while (count > 0) {
        std::size_t room = sizeof(u.output) - u.output_length;
        const std::size_t taken = count < room ? count : room;
        std::memcpy(u.output + u.output_length, bytes, taken);
        u.output_length += taken;
        bytes += taken;
        count -= taken;
        if (u.output_length == sizeof(u.output)) {
            if (const int status = flush(u); status != 0) {
                unit_failure(unit, FailureKind::Write, status);
            }
        }
    }
}

void unit_end_record(int unit) { unit_write(unit, "\r\n", 2); }
