#include "params/parameter_files.h"

#include <algorithm>
#include <ctime>
#include <memory>

#include "app/products.h"
#include "pages/parameter_page.h"
#include "pages/record_store.h"
#include "params/parameter_compare.h"
#include "params/parameter_file.h"
#include "platform/whole_file.h"

namespace zephran {
namespace {

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string IsoDate(std::time_t time) {
    std::tm utc{};
    gmtime_r(&time, &utc);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
}

std::string Names(const std::vector<std::string>& names) {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? "none" : text;
}

// Why a transfer that did not end well ended; what is the reading or writing.
std::string Failure(const TransferResult& result, const std::string& what) {
    switch (result.end) {
        case TransferResult::End::kDone:
            break;
        case TransferResult::End::kNotSent:
            return "The " + what + " of set " + Quoted(result.failed) +
                   " could not be sent: no board is connected.";
        case TransferResult::End::kNoReply:
            return "The board did not answer the " + what + " of set " + Quoted(result.failed) +
                   ".";
        case TransferResult::End::kCancelled:
            return "Cancelled.";
    }
    return {};
}

// The board's copy of a set as its page last received it.
std::vector<std::uint8_t> BoardRecord(const ParameterSetBinding& binding, RecordStore& records) {
    const ParameterSet& set = binding.Set();
    if (set.record == ReplyRecord::kNone) {
        std::vector<std::uint8_t> bytes(FieldExtent(set));
        binding.StoreInto(bytes);
        return bytes;
    }
    const std::span<const std::uint8_t> record = records.Bytes(set.record, set.recordIndex);
    return {record.begin(), record.end()};
}

}  // namespace

ParameterFiles::ParameterFiles(Services services)
    : s_(std::move(services)),
      transfer_({[this](const Message& message) {
                     for (const PendingRequest& request : s_.connection.Pending()) {
                         if (message.Is(request.group, request.msgId)) return true;
                     }
                     return false;
                 },
                 s_.progress}) {}

void ParameterFiles::RegisterReplies(ReplyDispatcher& dispatcher) {
    for (const auto& page : s_.pages) {
        auto* parameterPage = dynamic_cast<ParameterPage*>(page.get());
        if (!parameterPage) continue;
        for (std::size_t k = 0; k < parameterPage->SetCount(); ++k) {
            const ParameterSet::Requests& requests = parameterPage->Set(k).Set().requests;
            if (requests.read) transfer_.Listen(dispatcher, *requests.read);
            if (requests.write) transfer_.Listen(dispatcher, *requests.write);
        }
    }
}

std::string ParameterFiles::Product() const {
    return s_.settings.ReadText("ProductSetting", "Product");
}

std::vector<ParameterFiles::Entry> ParameterFiles::ProductSets() const {
    std::vector<Entry> entries;
    const ProductSpec* product = FindProduct(Product());
    if (!product) return entries;
    const auto known = [&entries](std::string_view name) {
        for (const Entry& entry : entries) {
            if (entry.binding->Set().name == name) return true;
        }
        return false;
    };
    for (const TreeNodeSpec& node : product->nodes) {
        for (std::string_view key : node.children) {
            for (const auto& page : s_.pages) {
                auto* parameterPage = dynamic_cast<ParameterPage*>(page.get());
                if (!parameterPage || page->Id().treeKey != key) continue;
                for (std::size_t k = 0; k < parameterPage->SetCount(); ++k) {
                    ParameterSetBinding& binding = parameterPage->Set(k);
                    if (binding.Set().requests.read && !known(binding.Set().name))
                        entries.push_back({parameterPage, &binding});
                }
            }
        }
    }
    return entries;
}

std::optional<ParameterSnapshot> ParameterFiles::OpenFile(const std::string& path,
                                                          std::string& error) {
    const std::optional<std::string> text = ReadWholeFile(path, kMaxParameterFileSize);
    if (!text) {
        error = "Cannot read " + path + " (missing, unreadable or too large).";
        return std::nullopt;
    }
    std::vector<SetLayout> layouts;
    for (const Entry& entry : ProductSets())
        layouts.push_back(LayoutOf(entry.binding->Set(), s_.records));
    FileReading reading = ReadParameterFile(*text, Product(), layouts);
    if (!reading.snapshot) error = path + ": " + reading.error;
    return std::move(reading.snapshot);
}

std::string ParameterFiles::BoardRefusal() const {
    if (Busy()) return "Parameters are being transferred already.";
    if (!s_.connection.Connected()) return "No board is connected.";
    if (ProductSets().empty())
        return "The product " + Quoted(Product()) + " has no parameter sets.";
    return {};
}

ParameterFiles::Done ParameterFiles::Begin(Done done) {
    running_ = true;
    busyChanged.Emit();
    return [this, done = std::move(done)](const Outcome& outcome) {
        running_ = false;
        busyChanged.Emit();
        done(outcome);
    };
}

void ParameterFiles::ReadBoard(BoardRead next, Done done) {
    auto board = std::make_shared<ParameterSnapshot>(
        ParameterSnapshot{Product(), IsoDate(s_.clock.WallTime()), {}});
    std::vector<TransferStep> steps;
    for (const Entry& entry : ProductSets()) {
        ParameterSetBinding& binding = *entry.binding;
        steps.push_back(
            {std::string(binding.Set().name), binding.Set().requests.read,
             [&binding] { return binding.Read(); },
             [this, board, &binding] {
                 board->sets.push_back({&binding.Set(), BoardRecord(binding, s_.records)});
             }});
    }
    transfer_.Start(std::move(steps), [board, next = std::move(next),
                                       done = std::move(done)](const TransferResult& result) {
        if (result.end == TransferResult::End::kDone) {
            next(*board);
        } else {
            done({Failure(result, "read"), {}});
        }
    });
}

void ParameterFiles::Save(const std::string& path, Done done) {
    if (const std::string refusal = BoardRefusal(); !refusal.empty()) return done({refusal, {}});
    done = Begin(std::move(done));
    ReadBoard(
        [path, done](const ParameterSnapshot& board) {
            if (!ReplaceWholeFile(path, WriteParameterFile(board)))
                return done({"Cannot write " + path + ".", {}});
            done({{},
                  {"Saved " + std::to_string(board.sets.size()) + " parameter sets to " + path +
                   "."}});
        },
        done);
}

void ParameterFiles::CompareWithBoard(const std::string& path, Done done) {
    if (const std::string refusal = BoardRefusal(); !refusal.empty()) return done({refusal, {}});
    std::string error;
    std::optional<ParameterSnapshot> file = OpenFile(path, error);
    if (!file) return done({error, {}});
    done = Begin(std::move(done));
    ReadBoard(
        [file = std::move(*file), done](const ParameterSnapshot& board) {
            done({{}, DescribeComparison(CompareSnapshots(file, board), "file", "board")});
        },
        done);
}

ParameterFiles::Outcome ParameterFiles::CompareFiles(const std::string& first,
                                                     const std::string& second) {
    std::string error;
    const std::optional<ParameterSnapshot> a = OpenFile(first, error);
    if (!a) return {error, {}};
    const std::optional<ParameterSnapshot> b = OpenFile(second, error);
    if (!b) return {error, {}};
    return {{}, DescribeComparison(CompareSnapshots(*a, *b), "first", "second")};
}

void ParameterFiles::Load(const std::string& path, Done done) {
    if (const std::string refusal = BoardRefusal(); !refusal.empty()) return done({refusal, {}});
    std::string error;
    std::optional<ParameterSnapshot> file = OpenFile(path, error);
    if (!file) return done({error, {}});
    // Only the sets the board takes writes for can be loaded.
    std::erase_if(file->sets, [](const SetSnapshot& s) { return !s.set->requests.write; });
    if (file->sets.empty()) return done({path + ": the file holds no set the board can take.", {}});
    done = Begin(std::move(done));
    ReadBoard(
        [this, file = std::move(*file), done](const ParameterSnapshot& board) {
            Comparison changes = CompareSnapshots(board, file);
            changes.onlyFirst.clear();  // sets the file leaves alone
            if (changes.Same()) return done({{}, {"The board holds the file's values already."}});
            std::string question = "These values will change:";
            for (const std::string& line : DescribeComparison(changes, "board", "file"))
                question += "\n" + line;
            question += "\nWrite them to the board?";
            if (!s_.host.AskYesNo(question)) return done({{}, {"Nothing was written."}});
            WriteChanges(file, changes.ChangedSets(), done);
        },
        done);
}

void ParameterFiles::WriteChanges(const ParameterSnapshot& file,
                                  const std::vector<const ParameterSet*>& sets, Done done) {
    std::vector<TransferStep> steps;
    std::vector<std::string> names;
    for (const Entry& entry : ProductSets()) {
        const SetSnapshot* snapshot = file.Find(entry.binding->Set().name);
        if (!snapshot || std::find(sets.begin(), sets.end(), snapshot->set) == sets.end()) continue;
        ParameterSetBinding& binding = *entry.binding;
        ParameterPage& page = *entry.page;
        names.emplace_back(binding.Set().name);
        steps.push_back({names.back(), binding.Set().requests.write,
                         [&binding, &page, record = snapshot->record] {
                             binding.values = ReadFields(binding.Set(), record);
                             page.UpdateData(false);
                             return binding.SendWrite();
                         },
                         [] {}});
    }
    transfer_.Start(std::move(steps), [names, done](const TransferResult& result) {
        const std::vector<std::string> written(names.begin(),
                                               names.begin() + static_cast<long>(result.answered));
        if (result.end != TransferResult::End::kDone) {
            return done(
                {Failure(result, "write") + " Sets written before it: " + Names(written) + ".",
                 {}});
        }
        done({{},
              {"Wrote " + std::to_string(written.size()) + " parameter sets: " + Names(written) +
               "."}});
    });
}

}  // namespace zephran
