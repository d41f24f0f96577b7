#include "analysis/TracingModel.h"

namespace qv {

void TracingHistory::announce(bool couldUndo, bool couldRedo)
{
    if (couldUndo != canUndo())
        emit canUndoChanged(canUndo());
    if (couldRedo != canRedo())
        emit canRedoChanged(canRedo());
}

void TracingHistory::push(Step step)
{
    const bool u = canUndo(), r = canRedo();
    m_steps.resize(size_t(m_index));  // what was undone is gone
    m_steps.push_back(step);
    m_index = count();
    for (const Change& c : step)
        m_model.setLandmark(c.landmark, c.after, c.becomes);
    announce(u, r);
}

void TracingHistory::undo()
{
    if (!canUndo())
        return;
    const bool u = canUndo(), r = canRedo();
    const Step& s = m_steps[size_t(--m_index)];
    for (auto c = s.rbegin(); c != s.rend(); ++c)
        m_model.setLandmark(c->landmark, c->before, c->was);
    announce(u, r);
}

void TracingHistory::redo()
{
    if (!canRedo())
        return;
    const bool u = canUndo(), r = canRedo();
    const Step& s = m_steps[size_t(m_index++)];
    for (const Change& c : s)
        m_model.setLandmark(c.landmark, c.after, c.becomes);
    announce(u, r);
}

void TracingHistory::clear()
{
    const bool u = canUndo(), r = canRedo();
    m_steps.clear();
    m_index = 0;
    announce(u, r);
}

QString TracingModel::tweedTitle() { return QStringLiteral("Tweed-Merrifield"); }

TracingModel::TracingModel() : m_catalogue(std::make_shared<const AnalysisCatalogue>()), m_analyses{tweedTitle()}
{
    m_norms = CephNorms::defaults(*m_catalogue);
}

void TracingModel::setImage(const QString& stored, const QString& file)
{
    m_imagePath = stored;
    m_imageFile = file;
    m_copyDeclined = false;
}

PointOrigin TracingModel::origin(Landmark l) const
{
    if (m_proposed.test(size_t(Index(l))))
        return PointOrigin::Proposed;
    return m_accepted.test(size_t(Index(l))) ? PointOrigin::Accepted : PointOrigin::Placed;
}

void TracingModel::place(Landmark l, QPointF at)
{
    m_picked.reset();
    m_history.push({{l, m_points.get(l), at, origin(l), PointOrigin::Placed}});
}

// A point moved is the clinician's, wherever it came from.
void TracingModel::move(Landmark l, QPointF from, QPointF to)
{
    m_history.push({{l, from, to, origin(l), PointOrigin::Placed}});
}

void TracingModel::drag(Landmark l, QPointF at) { setLandmark(l, at); }

void TracingModel::setLandmark(Landmark l, std::optional<QPointF> at) { setLandmark(l, at, origin(l)); }

void TracingModel::setLandmark(Landmark l, std::optional<QPointF> at, PointOrigin origin)
{
    m_points.set(l, at);
    m_proposed.set(size_t(Index(l)), at && origin == PointOrigin::Proposed);
    m_accepted.set(size_t(Index(l)), at && origin == PointOrigin::Accepted);
    m_modified = true;
    emit changed();
}

int TracingModel::propose(const LandmarkSet& found)
{
    TracingHistory::Step step;
    for (int i = 0; i < kLandmarkCount; ++i) {
        const Landmark l = LandmarkAt(i);
        if (found.has(l) && (!m_points.has(l) || origin(l) == PointOrigin::Proposed))
            step.push_back({l, m_points.get(l), found.at(l), origin(l), PointOrigin::Proposed});
    }
    if (!step.empty())
        m_history.push(step);
    return int(step.size());
}

void TracingModel::confirm(Landmark l)
{
    if (origin(l) == PointOrigin::Proposed)
        m_history.push({{l, m_points.get(l), m_points.get(l), PointOrigin::Proposed, PointOrigin::Accepted}});
}

void TracingModel::confirmAll()
{
    TracingHistory::Step step;
    for (int i = 0; i < kLandmarkCount; ++i)
        if (const Landmark l = LandmarkAt(i); origin(l) == PointOrigin::Proposed)
            step.push_back({l, m_points.get(l), m_points.get(l), PointOrigin::Proposed, PointOrigin::Accepted});
    if (!step.empty())
        m_history.push(step);
}

void TracingModel::pick(std::optional<Landmark> l)
{
    m_picked = l;
    emit changed();
}

void TracingModel::start(const LandmarkSet& points, const Calibration& c, const QString& source,
                         const LandmarkFlags& proposed, const LandmarkFlags& accepted)
{
    m_history.clear();
    m_picked.reset();
    m_points = points;
    LandmarkFlags placed;
    for (int i = 0; i < kLandmarkCount; ++i)
        placed.set(size_t(i), points.has(LandmarkAt(i)));
    m_proposed = proposed & placed;
    m_accepted = accepted & placed & ~m_proposed;
    m_calibration = c.known() ? c : Calibration::none();
    m_calibrationSource = c.known() ? source : QString();
    m_modified = false;
    emit changed();
}

void TracingModel::setCalibration(const Calibration& c, const QString& source)
{
    m_calibration = c;
    m_calibrationSource = source;
    m_modified = true;
    emit changed();
}

void TracingModel::markSaved() { m_modified = false; }

bool TracingModel::useCatalogue(std::shared_ptr<const AnalysisCatalogue> catalogue)
{
    if (catalogue == m_catalogue)
        return false;
    m_catalogue = std::move(catalogue);
    m_norms = m_norms.alignedTo(*m_catalogue);
    emit catalogueChanged();
    setAnalyses(m_analyses);
    return true;
}

void TracingModel::setAnalyses(const QStringList& titles)
{
    QStringList chosen;
    for (const AnalysisDefinition& a : m_catalogue->analyses)
        if (titles.contains(a.title))
            chosen << a.title;
    if (chosen.isEmpty()) {
        // Unticking the last keeps it; a choice of none of these analyses falls back to the Tweed one.
        for (const QStringList& fallback : {m_analyses, QStringList{tweedTitle()}}) {
            for (const AnalysisDefinition& a : m_catalogue->analyses)
                if (fallback.contains(a.title))
                    chosen << a.title;
            if (!chosen.isEmpty())
                break;
        }
        if (chosen.isEmpty())
            return;  // no analysis at all is offered
    }
    m_analyses = chosen;
    m_order = LandmarksFor(*m_catalogue, m_analyses);
    emit analysesChanged();
    emit changed();
}

void TracingModel::setNorms(const CephNorms& norms)
{
    m_norms = norms.alignedTo(*m_catalogue);
    emit changed();
}

}  // namespace qv
