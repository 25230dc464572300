// A FileSystem that fails reads or writes as a read-only folder or an offline server would.
#pragma once

#include "platform/FileSystem.h"

#include <algorithm>
#include <set>

namespace corvane::test {

class FaultyFileSystem final : public FileSystem {
public:
    explicit FaultyFileSystem(FileSystem& real) : m_real(real) {}

    // kFileOk lets reads (ReadTextFile) or writes (everything that changes a file) through.
    FileResult readFailure;
    FileResult writeFailure;
    // When not empty, only reads of paths ending in one of these names fail.
    std::set<std::string> failingReads;

    using S = const std::string&;
    SearchResult Search(S p, bool d) override { return m_real.Search(p, d); }
    FileResult CreateDirectory(S p) override { return W() ? m_real.CreateDirectory(p) : Fail(); }
    FileResult CopyFile(S f, S t) override { return W() ? m_real.CopyFile(f, t) : Fail(); }
    // A file that is not there is "not found" even in a folder that cannot be written.
    FileResult DeleteFile(S p) override {
        return W() || m_real.Search(p, false).name.empty() ? m_real.DeleteFile(p) : Fail();
    }
    FileResult CreateEmptyFile(S p) override { return W() ? m_real.CreateEmptyFile(p) : Fail(); }
    FileResult AppendLine(S p, S l) override { return W() ? m_real.AppendLine(p, l) : Fail(); }
    FileResult ReadTextFile(S p, std::string& c, std::uint64_t l) override {
        const bool fails = !readFailure.ok() &&
                           (failingReads.empty() || std::ranges::any_of(failingReads, [&p](S n) {
                                return p.ends_with(n);
                            }));
        return fails ? readFailure : m_real.ReadTextFile(p, c, l);
    }
    FileResult ReplaceFile(S p, S c) override { return W() ? m_real.ReplaceFile(p, c) : Fail(); }
    FileResult RemoveLeftovers(S p) override { return W() ? m_real.RemoveLeftovers(p) : Fail(); }
    FileResult OpenLineWriter(S p, std::unique_ptr<LineWriter>& w) override {
        return W() ? m_real.OpenLineWriter(p, w) : Fail();
    }
    void BeginBatch() override { m_real.BeginBatch(); }
    void EndBatch() override { m_real.EndBatch(); }

private:
    bool W() const { return writeFailure.ok(); }
    FileResult Fail() const { return writeFailure; }
    FileSystem& m_real;
};

} // namespace corvane::test
