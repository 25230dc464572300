// A FileSystem that fails reads or writes as a read-only folder or an offline server would.
#pragma once

#include "platform/FileSystem.h"

#include <set>

namespace corvane::test {

struct FaultyFileSystem final : FileSystem {
    explicit FaultyFileSystem(FileSystem& real) : m_real(real) {}

    FileResult readFailure;
    FileResult writeFailure;
    std::set<std::string> failingReads;

    using S = const std::string&;
    SearchResult Search(S p, bool d) override { return m_real.Search(p, d); }
    FileResult CreateDirectory(S p) override { return W() ? m_real.CreateDirectory(p) : Fail(); }
    FileResult CopyFile(S f, S t) override { return W() ? m_real.CopyFile(f, t) : Fail(); }
    FileResult DeleteFile(S p) override {
        return W() || m_real.Search(p, false).name.empty() ? m_real.DeleteFile(p) : Fail();
    }
    FileResult CreateEmptyFile(S p) override { return W() ? m_real.CreateEmptyFile(p) : Fail(); }
    FileResult AppendLine(S p, S l) override { return W() ? m_real.AppendLine(p, l) : Fail(); }
    FileResult ReadTextFile(S p, std::string& c, std::uint64_t l) override {
        const bool named =
            failingReads.empty() || failingReads.contains(p.substr(p.rfind('/') + 1));
        return !readFailure.ok() && named ? readFailure : m_real.ReadTextFile(p, c, l);
    }
    FileResult ReplaceFile(S p, S c) override { return W() ? m_real.ReplaceFile(p, c) : Fail(); }
    FileResult RemoveLeftovers(S p) override { return W() ? m_real.RemoveLeftovers(p) : Fail(); }
    FileResult OpenLineWriter(S p, std::unique_ptr<LineWriter>& w) override {
        return W() ? m_real.OpenLineWriter(p, w) : Fail();
    }
    void BeginBatch() override { m_real.BeginBatch(); }
    void EndBatch() override { m_real.EndBatch(); }

    bool W() const { return writeFailure.ok(); }
    FileResult Fail() const { return writeFailure; }
    FileSystem& m_real;
};

} // namespace corvane::test
