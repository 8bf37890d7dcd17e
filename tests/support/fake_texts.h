#pragma once

#include <map>
#include <string>
#include <utility>
#include <vector>

#include "link/line_list.h"
#include "link/text_source.h"

namespace zephran::testing {

// A language store filled by the test.
class FakeTexts : public TextSource {
public:
    void Set(std::string section, std::string key, std::string text) {
        texts_[{std::move(section), std::move(key)}] = std::move(text);
    }
    std::string LangText(std::string_view section, std::string_view key) const override {
        const auto found = texts_.find({std::string(section), std::string(key)});
        return found == texts_.end() ? std::string() : found->second;
    }

private:
    std::map<std::pair<std::string, std::string>, std::string> texts_;
};

// A list box that keeps its lines.
class VectorLines : public LineList {
public:
    std::size_t GetCount() const override { return lines.size(); }
    void ResetContent() override { lines.clear(); }
    void AddString(const std::string& line) override { lines.push_back(line); }

    std::vector<std::string> lines;
};

}  // namespace zephran::testing
