#include "params/parameter_files.h"

#include <algorithm>
#include <ctime>
#include <memory>

#include "pages/framework/parameter_page.h"
#include "pages/framework/products.h"
#include "params/parameter_compare.h"
#include "params/parameter_file.h"
#include "platform/file_system.h"
#include "platform/whole_file.h"
#include "records/record_store.h"

namespace zephran {
namespace {

std::string Quoted(std::string_view text) {
    return "\"" + std::string(text) + "\"";
}

std::string IsoDate(std::time_t time) {
    const std::tm utc = UniversalTime(time);
    char text[32];
    std::strftime(text, sizeof text, "%Y-%m-%dT%H:%M:%SZ", &utc);
    return text;
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
                     for (const PendingRequest& request : s_.session.Pending()) {
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

std::string ParameterFiles::Names(const std::vector<std::string>& names) const {
    std::string text;
    for (const std::string& name : names)
        text += (text.empty() ? "" : ", ") + name;
    return text.empty() ? AddedText(s_.texts, "ParameterFiles", "None", "none") : text;
}

std::string ParameterFiles::Failure(const TransferResult& result, bool writing) const {
    const std::string set = Quoted(result.failed);
    switch (result.end) {
        case TransferResult::End::kDone:
            break;
        case TransferResult::End::kNotSent:
            return FillIn(
                writing ? AddedText(s_.texts, "ParameterFiles", "Write Not Sent",
                                    "The write of set %1 could not be sent: no board is connected.")
                        : AddedText(s_.texts, "ParameterFiles", "Read Not Sent",
                                    "The read of set %1 could not be sent: no board is connected."),
                {set});
        case TransferResult::End::kNoReply:
            return FillIn(writing ? AddedText(s_.texts, "ParameterFiles", "Write No Reply",
                                              "The board did not answer the write of set %1.")
                                  : AddedText(s_.texts, "ParameterFiles", "Read No Reply",
                                              "The board did not answer the read of set %1."),
                          {set});
        case TransferResult::End::kCancelled:
            return AddedText(s_.texts, "ParameterFiles", "Cancelled", "Cancelled.");
    }
    return {};
}

std::string ParameterFiles::ShownCaption(const ParameterSet& set,
                                         const ParameterField& field) const {
    for (const Entry& entry : ProductSets()) {
        if (field.label == 0 || entry.binding->Set().name != set.name) continue;
        std::string text = entry.page->GetDlgItemText(field.label);
        while (!text.empty() && (text.back() == ':' || text.back() == ' '))
            text.pop_back();
        if (!text.empty()) return text;
    }
    return std::string(field.caption.empty() ? field.name : field.caption);
}

std::string ParameterFiles::SetCaption(const ParameterSet& set) const {
    if (set.caption) return set.caption(s_.texts);
    for (const Entry& entry : ProductSets()) {
        if (set.group == 0 || &entry.binding->Set() != &set) continue;
        if (std::string text = entry.page->GetDlgItemText(set.group); !text.empty()) return text;
    }
    return std::string(set.name);
}

std::string ParameterFiles::FileSide() const {
    return AddedText(s_.texts, "ParameterFiles", "File", "file");
}

std::string ParameterFiles::BoardSide() const {
    return AddedText(s_.texts, "ParameterFiles", "Board", "board");
}

std::vector<std::string> ParameterFiles::Describe(const Comparison& comparison,
                                                  std::string_view firstName,
                                                  std::string_view secondName) const {
    return DescribeComparison(comparison, firstName, secondName, s_.texts,
                              {[this](const ParameterSet& set) { return SetCaption(set); },
                               [this](const ParameterSet& set, const ParameterField& field) {
                                   return ShownCaption(set, field);
                               }});
}

std::optional<ParameterSnapshot> ParameterFiles::OpenFile(const std::string& path,
                                                          std::string& error) {
    const std::optional<std::string> text = ReadWholeFile(path, kMaxParameterFileSize);
    if (!text) {
        error = FillIn(AddedText(s_.texts, "ParameterFiles", "Cannot Read File",
                                 "Cannot read %1 (missing, unreadable or too large)."),
                       {path});
        return std::nullopt;
    }
    std::vector<SetLayout> layouts;
    for (const Entry& entry : ProductSets())
        layouts.push_back(LayoutOf(entry.binding->Set(), s_.records));
    FileReading reading = ReadParameterFile(*text, Product(), layouts, s_.texts);
    if (!reading.snapshot) error = path + ": " + reading.error;
    return std::move(reading.snapshot);
}

std::string ParameterFiles::BoardRefusal() const {
    if (Busy())
        return AddedText(s_.texts, "ParameterFiles", "Busy",
                         "Parameters are being transferred already.");
    if (!s_.session.Connected())
        return AddedText(s_.texts, "ParameterFiles", "No Board", "No board is connected.");
    if (ProductSets().empty()) {
        return FillIn(AddedText(s_.texts, "ParameterFiles", "No Sets",
                                "The product %1 has no parameter sets."),
                      {Quoted(Product())});
    }
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
            {SetCaption(binding.Set()), binding.Set().requests.read,
             [&binding] { return binding.Read(); },
             [this, board, &binding] {
                 board->sets.push_back({&binding.Set(), BoardRecord(binding, s_.records)});
             }});
    }
    transfer_.Start(std::move(steps), [this, board, next = std::move(next),
                                       done = std::move(done)](const TransferResult& result) {
        if (result.end == TransferResult::End::kDone) {
            next(*board);
        } else {
            done({Failure(result, false), {}});
        }
    });
}

void ParameterFiles::Save(const std::string& path, Done done) {
    if (const std::string refusal = BoardRefusal(); !refusal.empty()) return done({refusal, {}});
    done = Begin(std::move(done));
    ReadBoard(
        [this, path, done](const ParameterSnapshot& board) {
            if (!ReplaceWholeFile(path, WriteParameterFile(board))) {
                return done({FillIn(AddedText(s_.texts, "ParameterFiles", "Cannot Write File",
                                              "Cannot write %1."),
                                    {path}),
                             {}});
            }
            done({{},
                  {FillIn(AddedText(s_.texts, "ParameterFiles", "Saved",
                                    "Saved %1 parameter sets to %2."),
                          {std::to_string(board.sets.size()), path})}});
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
        [this, file = std::move(*file), done](const ParameterSnapshot& board) {
            done({{}, Describe(CompareSnapshots(file, board), FileSide(), BoardSide())});
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
    return {
        {},
        Describe(CompareSnapshots(*a, *b), AddedText(s_.texts, "ParameterFiles", "First", "first"),
                 AddedText(s_.texts, "ParameterFiles", "Second", "second"))};
}

void ParameterFiles::Load(const std::string& path, Done done) {
    if (const std::string refusal = BoardRefusal(); !refusal.empty()) return done({refusal, {}});
    std::string error;
    std::optional<ParameterSnapshot> file = OpenFile(path, error);
    if (!file) return done({error, {}});
    // Only the sets the board takes writes for can be loaded.
    std::erase_if(file->sets, [](const SetSnapshot& s) { return !s.set->requests.write; });
    if (file->sets.empty()) {
        return done({FillIn(AddedText(s_.texts, "ParameterFiles", "Nothing To Load",
                                      "%1: the file holds no set the board can take."),
                            {path}),
                     {}});
    }
    done = Begin(std::move(done));
    ReadBoard(
        [this, file = std::move(*file), done](const ParameterSnapshot& board) {
            Comparison changes = CompareSnapshots(board, file);
            changes.onlyFirst.clear();  // sets the file leaves alone
            if (changes.Same()) {
                return done({{},
                             {AddedText(s_.texts, "ParameterFiles", "Same Values",
                                        "The board holds the file's values already.")}});
            }
            std::string question =
                AddedText(s_.texts, "ParameterFiles", "Will Change", "These values will change:");
            for (const std::string& line : Describe(changes, BoardSide(), FileSide()))
                question += "\n" + line;
            question += "\n" + AddedText(s_.texts, "ParameterFiles", "Write Them",
                                         "Write them to the board?");
            if (!s_.host.AskYesNo(question)) {
                return done({{},
                             {AddedText(s_.texts, "ParameterFiles", "Nothing Written",
                                        "Nothing was written.")}});
            }
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
        names.push_back(SetCaption(binding.Set()));
        steps.push_back({names.back(), binding.Set().requests.write,
                         [&binding, &page, record = snapshot->record] {
                             binding.values = ReadFields(binding.Set(), record);
                             page.UpdateData(false);
                             return binding.SendWrite();
                         },
                         [] {}});
    }
    transfer_.Start(std::move(steps), [this, names, done](const TransferResult& result) {
        const std::vector<std::string> written(names.begin(),
                                               names.begin() + static_cast<long>(result.answered));
        if (result.end != TransferResult::End::kDone) {
            return done({Failure(result, true) + " " +
                             FillIn(AddedText(s_.texts, "ParameterFiles", "Written Before",
                                              "Sets written before it: %1."),
                                    {Names(written)}),
                         {}});
        }
        done(
            {{},
             {FillIn(AddedText(s_.texts, "ParameterFiles", "Wrote", "Wrote %1 parameter sets: %2."),
                     {std::to_string(written.size()), Names(written)})}});
    });
}

}  // namespace zephran
