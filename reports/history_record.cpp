#include "reports/history_record.h"

#include "reports/format_texts.h"
#include "reports/record_writer.h"

namespace {
constexpr int kHistoryUnit = 8;
}

void write_history_record(std::int32_t it, double change) {
    begin_write(kHistoryUnit, format_text::kHistoryRecord);
    put_integer(it);
    put_real(change);
    end_write();
}
