#pragma once

#include <cstddef>
#include <string>

namespace zephran {

// An unsorted list of text lines, such as a list box.
class LineList {
public:
    virtual ~LineList() = default;
    virtual std::size_t GetCount() const = 0;
    virtual void ResetContent() = 0;
    virtual void AddString(const std::string& line) = 0;
};

}  // namespace zephran
