// SPDX-License-Identifier: GPL-3.0-or-later
// A pipe for a test to feed a reader through descriptors, on Linux and on Windows.
#pragma once

#ifdef _WIN32
#include <fcntl.h>
#include <io.h>
#else
#include <unistd.h>
#endif

#include <string_view>

namespace zephran::testing {

class TestPipe {
public:
    TestPipe() {
#ifdef _WIN32
        valid_ = _pipe(fds_, 4096, _O_BINARY) == 0;
#else
        valid_ = pipe(fds_) == 0;
#endif
    }
    ~TestPipe() {
        for (int& fd : fds_)
            Close(fd);
    }
    TestPipe(const TestPipe&) = delete;
    TestPipe& operator=(const TestPipe&) = delete;

    bool IsValid() const {
        return valid_;
    }
    int ReadEnd() const {
        return fds_[0];
    }
    // Whether all of text went in.
    bool Write(std::string_view text) {
#ifdef _WIN32
        return _write(fds_[1], text.data(), static_cast<unsigned>(text.size())) ==
               static_cast<int>(text.size());
#else
        return write(fds_[1], text.data(), text.size()) == static_cast<ssize_t>(text.size());
#endif
    }

    // The reader then sees the input end.
    void CloseWriteEnd() {
        Close(fds_[1]);
    }

private:
    static void Close(int& fd) {
        if (fd < 0) return;
#ifdef _WIN32
        _close(fd);
#else
        close(fd);
#endif
        fd = -1;
    }

    int fds_[2] = {-1, -1};
    bool valid_ = false;
};

}  // namespace zephran::testing
