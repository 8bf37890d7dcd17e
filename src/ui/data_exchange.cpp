#include "ui/data_exchange.h"

#include <cerrno>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "ui/window.h"

namespace zephran::ui {
namespace {

bool OnlyBlanks(const char* s) {
    while (*s == ' ' || *s == '\t')
        ++s;
    return *s == '\0';
}

std::optional<double> ParseNumber(const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const double value = std::strtod(start, &end);
    if (end == start || !OnlyBlanks(end) || !std::isfinite(value))
        return std::nullopt;
    return value;
}

std::optional<long> ParseInteger(const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(start, &end, 10);
    if (end == start || !OnlyBlanks(end) || errno == ERANGE)
        return std::nullopt;
    return value;
}

}  // namespace

std::string FormatFloat(double value, int significantDigits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", significantDigits, value);
    return buffer;
}

void DataExchange::Fail(int id, const char* message) {
    failed_ = true;
    window_.Host().MessageBox(message);
    window_.SetFocus(id);
}

void DataExchange::Text(int id, float& value) {
    if (!Active())
        return;
    if (!saving_) {
        window_.SetDlgItemText(id, FormatFloat(value, 6));
        return;
    }
    const auto parsed = ParseNumber(window_.GetDlgItemText(id));
    if (!parsed || std::fabs(*parsed) > 3.402823466e38)
        return Fail(id, "Enter a number.");
    value = static_cast<float>(*parsed);
}

void DataExchange::Text(int id, double& value) {
    if (!Active())
        return;
    if (!saving_) {
        window_.SetDlgItemText(id, FormatFloat(value, 15));
        return;
    }
    const auto parsed = ParseNumber(window_.GetDlgItemText(id));
    if (!parsed)
        return Fail(id, "Enter a number.");
    value = *parsed;
}

void DataExchange::Text(int id, int& value) {
    if (!Active())
        return;
    if (!saving_) {
        window_.SetDlgItemText(id, std::to_string(value));
        return;
    }
    const auto parsed = ParseInteger(window_.GetDlgItemText(id));
    if (!parsed || *parsed < INT_MIN || *parsed > INT_MAX)
        return Fail(id, "Enter an integer.");
    value = static_cast<int>(*parsed);
}

void DataExchange::Text(int id, std::uint8_t& value) {
    if (!Active())
        return;
    if (!saving_) {
        window_.SetDlgItemText(id, std::to_string(value));
        return;
    }
    const auto parsed = ParseInteger(window_.GetDlgItemText(id));
    if (!parsed || *parsed < 0 || *parsed > 255) {
        return Fail(id, "Enter an integer between 0 and 255.");
    }
    value = static_cast<std::uint8_t>(*parsed);
}

void DataExchange::Text(int id, std::string& value) {
    if (!Active())
        return;
    if (saving_) {
        value = window_.GetDlgItemText(id);
    } else {
        window_.SetDlgItemText(id, value);
    }
}

void DataExchange::Check(int id, bool& value) {
    if (!Active())
        return;
    if (saving_) {
        value = window_.IsDlgButtonChecked(id);
    } else {
        window_.CheckDlgButton(id, value);
    }
}

void DataExchange::Radio(int first, int last, int& index) {
    if (!Active())
        return;
    if (saving_) {
        index = -1;
        for (int id = first; id <= last; ++id) {
            if (window_.IsDlgButtonChecked(id)) {
                index = id - first;
                break;
            }
        }
    } else {
        window_.CheckRadioButton(first, last, index >= 0 ? first + index : -1);
    }
}

}  // namespace zephran::ui
