// A FileSystem that passes everything to another one but fails the chosen kinds of operation,
// the way a read-only folder, a full disk or an offline server would.
#pragma once

#include "platform/FileSystem.h"

#include <algorithm>
#include <set>

namespace corvane::test {

class FaultyFileSystem final : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& real) : m_real(real) {}

    // The failure given to reads (ReadTextFile) and to writes (everything that changes a file);
    // kFileOk lets them through.
    FileResult readFailure;
    FileResult writeFailure;
    // When not empty, only reads of paths ending in one of these names fail.
    std::set<std::string> failingReads;

    SearchResult Search(const std::string& p, bool d) override { return m_real.Search(p, d); }
    FileResult CreateDirectory(const std::string& p) override {
        return writeFailure.ok() ? m_real.CreateDirectory(p) : writeFailure;
    }
    FileResult CopyFile(const std::string& f, const std::string& t) override {
        return writeFailure.ok() ? m_real.CopyFile(f, t) : writeFailure;
    }
    // A file that is not there is "not found" even in a folder that cannot be written.
    FileResult DeleteFile(const std::string& p) override {
        const bool missing = m_real.Search(p, false).name.empty();
        return writeFailure.ok() || missing ? m_real.DeleteFile(p) : writeFailure;
    }
    FileResult CreateEmptyFile(const std::string& p) override {
        return writeFailure.ok() ? m_real.CreateEmptyFile(p) : writeFailure;
    }
    FileResult AppendLine(const std::string& p, const std::string& l) override {
        return writeFailure.ok() ? m_real.AppendLine(p, l) : writeFailure;
    }
    FileResult ReadTextFile(const std::string& p, std::string& c, std::uint64_t l) override {
        const bool fails = !readFailure.ok() &&
                           (failingReads.empty() ||
                            std::any_of(failingReads.begin(), failingReads.end(),
                                        [&p](const std::string& n) { return p.ends_with(n); }));
        return fails ? readFailure : m_real.ReadTextFile(p, c, l);
    }
    FileResult ReplaceFile(const std::string& p, const std::string& c) override {
        return writeFailure.ok() ? m_real.ReplaceFile(p, c) : writeFailure;
    }
    FileResult RemoveLeftovers(const std::string& p) override {
        return writeFailure.ok() ? m_real.RemoveLeftovers(p) : writeFailure;
    }
    FileResult OpenLineWriter(const std::string& p, std::unique_ptr<LineWriter>& w) override {
        return writeFailure.ok() ? m_real.OpenLineWriter(p, w) : writeFailure;
    }
    void BeginBatch() override { m_real.BeginBatch(); }
    void EndBatch() override { m_real.EndBatch(); }

private:
    FileSystem& m_real;
};

} // namespace corvane::test
