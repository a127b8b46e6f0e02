#include "CrfSearch.h"

#include <algorithm>
#include <cmath>
#include <vector>

namespace {

// The fall of SSIM (dB) per CRF step assumed until two probes measure it; x264's scale of 51
// steps, the others' 63 steps spread the same range.
constexpr double kGuessedSlope51 = -0.5;

} // namespace

CrfSearch::CrfSearch(double goal, int ceiling, int start)
    : m_goal(decibels(goal)), m_ceiling(ceiling), m_missed(ceiling + 1),
      m_next(std::clamp(start, 0, ceiling))
{
}

double CrfSearch::decibels(double ssim)
{
    return -10 * std::log10(std::max(1e-10, 1 - ssim));
}

void CrfSearch::add(int crf, double ssim)
{
    const double db = decibels(ssim);
    m_measured[crf] = db;
    const bool reached = db >= m_goal;
    if (reached)
        m_reached = std::max(m_reached, crf);
    else
        m_missed = std::min(m_missed, crf);
    m_sameSide = m_measured.size() > 1 && reached == m_lastReached;
    m_lastReached = reached;
    const bool bracketed = m_missed == m_reached + 1;
    const bool settled = m_reached == m_ceiling || m_missed == 0;
    m_next = bracketed || settled || int(m_measured.size()) >= kMostProbes ? -1 : aim();
}

int CrfSearch::aim() const
{
    const int low = m_reached + 1;
    const int high = m_missed - 1;
    // Two measures around the goal when there are both, else the two nearest it.
    std::pair<int, double> a = *m_measured.begin();
    std::pair<int, double> b = a;
    if (m_reached >= 0 && m_missed <= m_ceiling) {
        a = {m_reached, m_measured.at(m_reached)};
        b = {m_missed, m_measured.at(m_missed)};
    } else if (m_measured.size() > 1) {
        std::vector<std::pair<int, double>> near(m_measured.begin(), m_measured.end());
        std::sort(near.begin(), near.end(), [this](const auto& x, const auto& y) {
            return std::abs(x.second - m_goal) < std::abs(y.second - m_goal);
        });
        a = near[0];
        b = near[1];
    }
    double slope = kGuessedSlope51 * 51 / m_ceiling;
    if (a.first != b.first && (b.second - a.second) / (b.first - a.first) < -0.01)
        slope = (b.second - a.second) / (b.first - a.first);
    const double crossing = a.first + (m_goal - a.second) / slope;
    const int aimed = int(std::floor(crossing));
    // Where the line says the next step up misses, the highest reached is the answer.
    if (m_reached >= 0 && aimed <= m_reached)
        return -1;
    // A line that keeps landing on one side of the goal is bent there: halve the span instead.
    if (m_reached >= 0 && m_missed <= m_ceiling && m_sameSide)
        return (low + high + 1) / 2;
    return std::clamp(aimed, std::max(low, 0), std::min(high, m_ceiling));
}
