#pragma once
// A disk that fills up, for as long as the object lives: a file size limit on
// this process, with the signal it would raise ignored so that the write just
// fails, as on a full disk.
#include <signal.h>
#include <sys/resource.h>

namespace varmo::test {

class FileSizeLimit {
public:
    explicit FileSizeLimit(rlim_t bytes)
    {
        getrlimit(RLIMIT_FSIZE, &before_);
        previousHandler_ = signal(SIGXFSZ, SIG_IGN);
        rlimit limit = before_;
        limit.rlim_cur = bytes;
        active_ = setrlimit(RLIMIT_FSIZE, &limit) == 0;
    }
    ~FileSizeLimit()
    {
        setrlimit(RLIMIT_FSIZE, &before_);
        signal(SIGXFSZ, previousHandler_);
    }
    FileSizeLimit(const FileSizeLimit&) = delete;
    FileSizeLimit& operator=(const FileSizeLimit&) = delete;

    bool active() const { return active_; }

private:
    rlimit before_{};
    sighandler_t previousHandler_ = SIG_DFL;
    bool active_ = false;
};

}  // namespace varmo::test
