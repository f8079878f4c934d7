#include "shell/ComparisonRun.h"

#include "compare/WorkPacer.h"

void CountingSink::AddAt(qsizetype line, const QString& text)
{
    m_target.AddAt(line, text);
    step(2 * text.size());
}

void CountingSink::AddSharedAt(qsizetype line, const std::shared_ptr<const void>& owner,
                               QByteArrayView bytes)
{
    m_target.AddSharedAt(line, owner, bytes);
    step(bytes.size());
}

void CountingSink::step(qint64 bytes)
{
    ++m_done;
    m_work += Engine::lineWork(quint64(bytes));
    if (m_work >= Engine::kWorkPerLook) {
        m_work = 0;
        m_progress.ThrowIfCancelled();
        m_progress.ReportDone(m_done, m_total);
    }
}

void ComparisonRun::Run(QThread* home)
{
    try {
        std::array<std::unique_ptr<ResultList>, kListCount> fresh;
        // Finding the repeats as the lines are matched costs next to
        // nothing; counting them after the lists show would match them again.
        auto compared = CompareWithin(path1, path2, options, budget, &progress);
        distinct = CountDistinct(*compared);
        if (options.HasKey())
            repeatedKeys = {DuplicateKeys(*compared, 1), DuplicateKeys(*compared, 2)};
        qint64 total = 0, done = 0;
        for (const ListKind& list : kListKinds)
            total += ListSize(*compared, list.kind);
        progress.ReportDone(0, total);
        for (size_t i = 0; i < kListKinds.size(); ++i) {
            fresh[i] = std::make_unique<ResultList>();
            const ResultList::BulkUpdate bulk(*fresh[i]);
            CountingSink sink(*fresh[i], progress, done, total);
            FillList(*compared, kListKinds[i].kind, sink);
        }
        progress.ThrowIfCancelled();
        // The window's thread takes the lists over and destroys them.
        for (auto& list : fresh)
            list->moveToThread(home);
        lists = std::move(fresh);
        comparison = std::move(compared);
    } catch (const CompareCancelled&) {
    }
}
