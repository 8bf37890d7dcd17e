#pragma once

#include <functional>
#include <memory>
#include <optional>
#include <string>
#include <vector>

#include "pages/framework/page.h"
#include "params/parameter_snapshot.h"
#include "params/parameter_transfer.h"
#include "platform/clock.h"
#include "session/link_session.h"
#include "ui/change_signal.h"

namespace zephran {

class ParameterPage;
class ParameterSetBinding;
class TextSource;
struct Comparison;
struct RecordStore;

// Saves the board's parameter sets to a file, loads a file back onto the board and compares a
// file with the board or with another file. The sets are those of the current product's
// parameter pages that the board can read, each read and written with its page's own requests.
class ParameterFiles {
public:
    struct Services {
        const std::vector<std::unique_ptr<Page>>& pages;
        const SettingsFile& settings;
        const LinkSession& session;
        RecordStore& records;
        ui::HostServices& host;
        const TextSource& texts;
        const Clock& clock;
        std::function<void(int percent)> progress;
    };
    // What an operation came to: lines to show, and an error unless it succeeded.
    struct Outcome {
        std::string error;
        std::vector<std::string> lines;
    };
    using Done = std::function<void(const Outcome&)>;

    explicit ParameterFiles(Services services);

    // Routes the replies of every parameter page's requests; after the pages routed theirs.
    void RegisterReplies(ReplyDispatcher& dispatcher);
    void OnTimerTick() { transfer_.OnTick(); }
    // Whether an operation runs: from its start until its done was called.
    bool Busy() const { return running_; }
    void Cancel() { transfer_.Cancel(); }
    // Told when Busy() turns true or false.
    ui::ChangeSignal busyChanged;

    // Each ends by calling done, at once when it cannot start.
    void Save(const std::string& path, Done done);
    // Shows what will change and asks before anything is written.
    void Load(const std::string& path, Done done);
    void CompareWithBoard(const std::string& path, Done done);
    Outcome CompareFiles(const std::string& first, const std::string& second);

private:
    struct Entry {
        ParameterPage* page;
        ParameterSetBinding* binding;
    };
    using BoardRead = std::function<void(const ParameterSnapshot& board)>;

    std::string Product() const;
    // The sets of the current product's pages that the board can read, each once.
    std::vector<Entry> ProductSets() const;
    // A field as its page's label shows it now, without the closing colon; the template's
    // caption, or the name in the file, where the page shows none.
    std::string ShownCaption(const ParameterSet& set, const ParameterField& field) const;
    // A set by its caption, or the caption of its group on its page; its name in the file where
    // it has neither.
    std::string SetCaption(const ParameterSet& set) const;
    std::vector<std::string> Describe(const Comparison& comparison, std::string_view firstName,
                                      std::string_view secondName) const;
    // Why a transfer that did not end well ended; its steps are named by the sets' captions.
    std::string Failure(const TransferResult& result, bool writing) const;
    std::string Names(const std::vector<std::string>& names) const;
    // The two sides of a comparison with the board, as its lines name them.
    std::string FileSide() const;
    std::string BoardSide() const;
    std::optional<ParameterSnapshot> OpenFile(const std::string& path, std::string& error);
    // Reads every set of the product from the board; then runs next, or done with the error.
    void ReadBoard(BoardRead next, Done done);
    void WriteChanges(const ParameterSnapshot& file, const std::vector<const ParameterSet*>& sets,
                      Done done);
    // Why an operation on the board cannot start now, or empty.
    std::string BoardRefusal() const;
    // Marks an operation as running until the done it returns is called.
    Done Begin(Done done);

    Services s_;
    ParameterTransfer transfer_;
    bool running_ = false;
};

}  // namespace zephran
