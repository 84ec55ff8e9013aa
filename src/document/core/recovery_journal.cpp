#include "document/core/recovery_journal.h"

#include <algorithm>
#include <array>
#include <climits>

namespace {

// Says what the file is to anyone who opens it, and which layout follows.
constexpr std::string_view Magic = "Memorion recovery journal 1\r\n";
constexpr unsigned char StartKind = 1;
// Each record: its length and checksum, four bytes each, lowest first.
constexpr size_t RecordHead = 8;

constexpr std::array<uint32_t, 256> makeCrcTable()
{
    std::array<uint32_t, 256> table{};
    for (uint32_t n = 0; n < 256; ++n) {
        uint32_t c = n;
        for (int k = 0; k < 8; ++k) c = c & 1 ? 0xEDB88320u ^ (c >> 1) : c >> 1;
        table[n] = c;
    }
    return table;
}
constexpr std::array<uint32_t, 256> CrcTable = makeCrcTable();

// ---- writing

class Out {
public:
    void byte(unsigned char b) { text_ += static_cast<char>(b); }
    void number(uint64_t n)
    {
        for (; n >= 0x80; n >>= 7) byte(static_cast<unsigned char>(n | 0x80));
        byte(static_cast<unsigned char>(n));
    }
    // -1 and the like, kept small.
    void signedNumber(int n) { number(n < 0 ? (uint64_t(-(int64_t(n) + 1)) << 1) | 1 : uint64_t(n) << 1); }
    void fixed(uint64_t n, int bytes)
    {
        for (int i = 0; i < bytes; ++i) byte(static_cast<unsigned char>(n >> (8 * i)));
    }
    void text(std::string_view t)
    {
        number(t.size());
        text_.append(t.data(), t.size());
    }
    std::string take() { return std::move(text_); }

private:
    std::string text_;
};

void putStep(Out &out, const Step &step)
{
    out.byte(static_cast<unsigned char>(step.kind));
    out.signedNumber(step.field);
    out.signedNumber(step.categoryAfter);
    out.signedNumber(step.categoryBefore);
    out.number(step.operations.size());
    for (const Operation &op : step.operations) {
        out.byte(op.kind);
        out.number(static_cast<uint64_t>(op.index));
        out.number(static_cast<uint64_t>(op.other));
        out.text(op.text);
        // Ascending: each as its distance from the one before, a byte or two.
        out.number(op.positions.size());
        int previous = 0;
        for (int position : op.positions) {
            out.number(static_cast<uint64_t>(position - previous));
            previous = position;
        }
        out.number(op.entries.size());
        for (const Entry &entry : op.entries)
            for (const EntryField &field : EntryFields) out.text(entry.*field.value);
    }
}

std::string framed(std::string payload)
{
    Out head;
    head.fixed(payload.size(), 4);
    head.fixed(journalChecksum(payload), 4);
    return head.take() + payload;
}

std::string changeRecord(JournalRecordKind kind, uint64_t when, const Step *step)
{
    Out out;
    out.byte(static_cast<unsigned char>(kind));
    if (kind == JournalRecordKind::Made || kind == JournalRecordKind::Undone ||
        kind == JournalRecordKind::Redone)
        out.fixed(when, 8);
    if (step) putStep(out, *step);
    return framed(out.take());
}

// ---- reading

class In {
public:
    explicit In(std::string_view bytes) : bytes_(bytes) {}
    bool ok() const { return ok_; }
    bool atEnd() const { return at_ == bytes_.size(); }
    size_t left() const { return bytes_.size() - at_; }

    unsigned char byte()
    {
        if (!need(1)) return 0;
        return static_cast<unsigned char>(bytes_[at_++]);
    }
    uint64_t number()
    {
        uint64_t n = 0;
        for (int shift = 0; shift < 64; shift += 7) {
            const unsigned char b = byte();
            n |= uint64_t(b & 0x7F) << shift;
            if (!(b & 0x80)) return n;
        }
        ok_ = false;
        return 0;
    }
    // A count of things that each take at least a byte.
    size_t count(size_t most)
    {
        const uint64_t n = number();
        if (n > most || n > left()) ok_ = false;
        return ok_ ? static_cast<size_t>(n) : 0;
    }
    int index()
    {
        const uint64_t n = number();
        if (n > INT_MAX) ok_ = false;
        return ok_ ? static_cast<int>(n) : 0;
    }
    int signedNumber()
    {
        const uint64_t n = number();
        const int64_t value = n & 1 ? -int64_t(n >> 1) - 1 : int64_t(n >> 1);
        if (value < INT_MIN || value > INT_MAX) ok_ = false;
        return ok_ ? static_cast<int>(value) : 0;
    }
    uint64_t fixed(int bytes)
    {
        uint64_t n = 0;
        for (int i = 0; i < bytes; ++i) n |= uint64_t(byte()) << (8 * i);
        return n;
    }
    std::string text()
    {
        const size_t size = count(left());
        std::string t(bytes_.substr(at_, size));
        at_ += size;
        return t;
    }

private:
    bool need(size_t n)
    {
        if (ok_ && left() >= n) return true;
        ok_ = false;
        return false;
    }
    std::string_view bytes_;
    size_t at_ = 0;
    bool ok_ = true;
};

constexpr int StepKinds = static_cast<int>(StepKind::MoveCategoryRight) + 1;
constexpr int OperationKinds = Operation::SwapCategories + 1;

bool readStep(In &in, Step &step)
{
    const int kind = in.byte();
    if (kind >= StepKinds) return false;
    step = Step(static_cast<StepKind>(kind), in.signedNumber());
    step.categoryAfter = in.signedNumber();
    step.categoryBefore = in.signedNumber();
    const size_t operations = in.count(in.left());
    for (size_t i = 0; i < operations && in.ok(); ++i) {
        const int opKind = in.byte();
        if (opKind >= OperationKinds) return false;
        Operation op(static_cast<Operation::Kind>(opKind));
        op.index = in.index();
        op.other = in.index();
        op.text = in.text();
        op.positions.resize(in.count(MaxEntries));
        int64_t position = 0;
        for (int &p : op.positions) {
            position += in.index();
            if (position > INT_MAX) return false;
            p = static_cast<int>(position);
        }
        op.entries.resize(in.count(MaxEntries));
        for (Entry &entry : op.entries)
            for (const EntryField &field : EntryFields) entry.*field.value = in.text();
        step.operations.push_back(std::move(op));
    }
    return in.ok();
}

bool readStart(In &in, JournalContents &journal)
{
    journal.path = in.text();
    journal.fingerprinted = in.byte() != 0;
    journal.saved.size = in.fixed(8);
    journal.saved.checksum = static_cast<uint32_t>(in.fixed(4));
    journal.base = in.text();
    return in.ok() && in.atEnd();
}

bool readChange(In &in, JournalRecord &record)
{
    const int kind = in.byte();
    if (kind < static_cast<int>(JournalRecordKind::Made) || kind > static_cast<int>(JournalRecordKind::Later))
        return false;
    record.kind = static_cast<JournalRecordKind>(kind);
    const bool change = kind <= static_cast<int>(JournalRecordKind::Redone);
    if (change) record.when = in.fixed(8);
    if (record.kind == JournalRecordKind::Made || !change) {
        if (!readStep(in, record.step)) return false;
    }
    return in.ok() && in.atEnd();
}

bool allZero(std::string_view bytes)
{
    return std::all_of(bytes.begin(), bytes.end(), [](char c) { return c == 0; });
}

uint32_t fixed32(std::string_view bytes, size_t at)
{
    uint32_t n = 0;
    for (int i = 0; i < 4; ++i) n |= uint32_t(static_cast<unsigned char>(bytes[at + i])) << (8 * i);
    return n;
}

} // namespace

uint32_t journalChecksum(std::string_view bytes)
{
    uint32_t c = 0xFFFFFFFFu;
    for (char b : bytes) c = CrcTable[(c ^ static_cast<unsigned char>(b)) & 0xFF] ^ (c >> 8);
    return c ^ 0xFFFFFFFFu;
}

FileFingerprint fingerprintOf(std::string_view bytes)
{
    return {bytes.size(), journalChecksum(bytes)};
}

std::string journalStart(const std::string &path, const FileFingerprint *saved, std::string_view base)
{
    Out out;
    out.byte(StartKind);
    out.text(path);
    out.byte(saved ? 1 : 0);
    out.fixed(saved ? saved->size : 0, 8);
    out.fixed(saved ? saved->checksum : 0, 4);
    out.text(base);
    return std::string(Magic) + framed(out.take());
}

std::string JournalRecorder::recordsFor(HistoryEvent event, const Step &step, uint64_t when)
{
    // The history may have dropped its oldest steps since.
    const int position = historyPosition();
    applied_ = std::min(applied_, position);
    redoable_ = std::min(redoable_, historyStepCount() - position);
    std::string records;
    switch (event) {
    case HistoryEvent::Started:
        startEmpty();
        break;
    case HistoryEvent::Made:
        records = changeRecord(JournalRecordKind::Made, when, &step);
        ++applied_;
        redoable_ = 0;
        break;
    case HistoryEvent::Undone:
        if (applied_ == 0) {
            records = changeRecord(JournalRecordKind::Earlier, 0, &step);
            ++applied_;
        }
        records += changeRecord(JournalRecordKind::Undone, when, nullptr);
        --applied_;
        ++redoable_;
        break;
    case HistoryEvent::Redone:
        if (redoable_ == 0) {
            records = changeRecord(JournalRecordKind::Later, 0, &step);
            ++redoable_;
        }
        records += changeRecord(JournalRecordKind::Redone, when, nullptr);
        --redoable_;
        ++applied_;
        break;
    }
    return records;
}

void JournalRecorder::startEmpty()
{
    applied_ = redoable_ = 0;
}

void JournalRecorder::holdWholeHistory()
{
    applied_ = historyPosition();
    redoable_ = historyStepCount() - applied_;
}

JournalContents readJournal(std::string_view bytes)
{
    JournalContents journal;
    if (bytes.size() < Magic.size()) {
        if (bytes != Magic.substr(0, bytes.size())) journal.damage = "it is not a recovery journal";
        return journal;
    }
    if (bytes.substr(0, Magic.size()) != Magic) {
        journal.damage = "it is not a recovery journal of this version";
        return journal;
    }
    size_t at = Magic.size();
    journal.wholeBytes = at;
    while (bytes.size() - at >= RecordHead) {
        const size_t length = fixed32(bytes, at);
        if (length > bytes.size() - at - RecordHead) break; // cut short
        const std::string_view payload = bytes.substr(at + RecordHead, length);
        if (length == 0 || journalChecksum(payload) != fixed32(bytes, at + 4)) {
            // A write torn by the crash: the last record, or zeros the
            // system had put down before the data reached the disk.
            if (at + RecordHead + length == bytes.size() || allZero(bytes.substr(at))) break;
            journal.damage = "the record at byte " + std::to_string(at) + " fails its checksum";
            return journal;
        }
        In in(payload);
        bool read;
        if (!journal.started) {
            read = in.byte() == StartKind && readStart(in, journal);
            journal.started = read;
        } else {
            JournalRecord record;
            read = readChange(in, record);
            if (read && record.kind <= JournalRecordKind::Redone) {
                ++journal.changes;
                journal.lastChange = record.when;
            }
            if (read) journal.records.push_back(std::move(record));
        }
        if (!read) {
            journal.damage = "the record at byte " + std::to_string(at) + " cannot be read";
            return journal;
        }
        at += RecordHead + length;
        journal.wholeBytes = at;
    }
    return journal;
}
