#include "ui/data_exchange.h"

#include <cerrno>
#include <cfloat>
#include <climits>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <optional>

#include "ui/control.h"
#include "ui/window.h"

namespace zephran::ui {
namespace {

const std::string kEnterNumber = "Enter a number.";
const std::string kEnterInteger = "Enter an integer.";

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
    if (end == start || !OnlyBlanks(end) || !std::isfinite(value)) return std::nullopt;
    return value;
}

std::optional<long> ParseInteger(const std::string& text) {
    const char* start = text.c_str();
    char* end = nullptr;
    errno = 0;
    const long value = std::strtol(start, &end, 10);
    if (end == start || !OnlyBlanks(end) || errno == ERANGE) return std::nullopt;
    return value;
}

}  // namespace

std::string FormatFloat(double value, int significantDigits) {
    char buffer[64];
    std::snprintf(buffer, sizeof buffer, "%.*g", significantDigits, value);
    return buffer;
}

bool DataExchange::Editable(int id) const {
    const Control* control = window_.Find(id);
    return control && !control->readOnly && control->visible && control->enabled;
}

// Only the first failure counts: it is the box the focus goes to.
void DataExchange::Fail(int id, const std::string& message) {
    if (Failed()) return;
    failedBox_ = id;
    failure_ = message;
}

template <typename T, typename Parse>
void DataExchange::Number(int id, T& value, const std::string& shown, Parse parse, double low,
                          double high, const std::string& badText, const std::string& outOfRange) {
    if (!Saving()) {
        window_.SetDlgItemText(id, shown);
        return;
    }
    if (!Editable(id)) return;
    const auto parsed = parse(window_.GetDlgItemText(id));
    if (!parsed) return Fail(id, badText);
    if (*parsed < low || *parsed > high) return Fail(id, outOfRange);
    if (Taking()) value = static_cast<T>(*parsed);
}

void DataExchange::Text(int id, float& value) {
    Number(id, value, FormatFloat(value, 6), ParseNumber, -FLT_MAX, FLT_MAX, kEnterNumber,
           kEnterNumber);
}

void DataExchange::Text(int id, double& value) {
    Number(id, value, FormatFloat(value, 15), ParseNumber, -DBL_MAX, DBL_MAX, kEnterNumber,
           kEnterNumber);
}

void DataExchange::Text(int id, int& value) {
    Number(id, value, std::to_string(value), ParseInteger, INT_MIN, INT_MAX, kEnterInteger,
           kEnterInteger);
}

// A box that holds no integer at all asks for one; the range is for a number outside it.
void DataExchange::Text(int id, int& value, int low, int high) {
    Number(
        id, value, std::to_string(value), ParseInteger, low, high, kEnterInteger,
        "Enter an integer between " + std::to_string(low) + " and " + std::to_string(high) + ".");
}

void DataExchange::Text(int id, std::uint8_t& value) {
    const std::string message = "Enter an integer between 0 and 255.";
    Number(id, value, std::to_string(value), ParseInteger, 0, 255, message, message);
}

void DataExchange::Text(int id, std::string& value) {
    if (!Saving()) {
        window_.SetDlgItemText(id, value);
    } else if (Taking() && Editable(id)) {
        value = window_.GetDlgItemText(id);
    }
}

void DataExchange::Check(int id, bool& value) {
    if (!Saving()) {
        window_.CheckDlgButton(id, value);
    } else if (Taking()) {
        value = window_.IsDlgButtonChecked(id);
    }
}

void DataExchange::Radio(int first, int last, int& index) {
    if (!Saving()) {
        window_.CheckRadioButton(first, last, index >= 0 ? first + index : -1);
        return;
    }
    if (!Taking()) return;
    index = -1;
    for (int id = first; id <= last; ++id) {
        if (window_.IsDlgButtonChecked(id)) {
            index = id - first;
            break;
        }
    }
}

}  // namespace zephran::ui
