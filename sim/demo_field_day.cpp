#include "demo_field_day.h"

#include "demo_random.h"

#include <utility>

namespace kvt::sim {
namespace {

constexpr quint64 DaySeed = 0x4B5654313030ull; // the same day on every run

// Slots of the default lists.
enum Object { Subgrade = 1, Base = 2, BearingCourse = 3 };
enum Material { Sand = 1, SandyLoam = 2, Loam = 3, Clay = 4 };

// The series of one object and material: how stiff that ground is on the
// whole, and how much one spot differs from the next (a share of the level).
struct Group {
    int material;
    double levelMPa;
    double spread;
    int series;
};

struct Layer {
    int object;
    Group groups[2];
};

// Levels as such layers give under a light falling weight: compacted clay
// and loam a few tens of MPa, a sand base more, a bearing course around a
// hundred and more, sandy loam there below what sand reaches.
constexpr Layer Day[] = {
    {Subgrade, {{Loam, 47, 0.16, 5}, {Clay, 41, 0.18, 4}}},
    {Base, {{SandyLoam, 72, 0.12, 4}, {Sand, 86, 0.12, 5}}},
    {BearingCourse, {{Sand, 124, 0.10, 4}, {SandyLoam, 107, 0.10, 5}}},
};

// Which group each series of a layer belongs to, in the order the crew meets
// them walking the layer: runs of one soil, then the other.
std::vector<int> groupOrder(const Layer &layer, DemoRandom &random)
{
    std::vector<int> order;
    for (int g = 0; g < 2; ++g)
        order.insert(order.end(), size_t(layer.groups[g].series), g);
    for (size_t k = order.size() - 1; k > 0; --k) // Fisher-Yates, on our own random
        std::swap(order[k], order[size_t(random.between(0, int(k)))]);
    return order;
}

} // namespace

std::vector<DemoSeries> demoFieldDay()
{
    DemoRandom random(DaySeed);
    // UTC: no daylight-saving jumps in the day.
    QDateTime when(QDate(2024, 5, 14), QTime(8, 30, 0), Qt::UTC);
    when = when.addSecs(random.between(0, 15 * 60));
    std::vector<DemoSeries> day;
    for (const Layer &layer : Day) {
        if (!day.empty()) // moving the van and the weight to the next layer
            when = when.addSecs(random.between(30 * 60, 50 * 60));
        for (int g : groupOrder(layer, random)) {
            const Group &group = layer.groups[g];
            DemoSeries series;
            series.objectSlot = layer.object;
            series.materialSlot = group.material;
            series.modulusMPa = group.levelMPa * (1 + random.uniform(-group.spread, group.spread));
            series.impacts = random.between(3, 9);
            series.secondsBetweenBlows = random.between(25, 50);
            series.start = when;
            series.seed = random.next();
            day.push_back(series);
            // The last blow, then a walk to the next spot.
            when = when.addSecs((series.impacts - 1) * series.secondsBetweenBlows + random.between(5 * 60, 12 * 60));
        }
    }
    return day;
}

} // namespace kvt::sim
