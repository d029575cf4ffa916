// High-score list: a short local list of names with scores, best first, cut
// to a fixed capacity. One class serves both as the list and as its entries:
// an entry is a HighScoreManager whose Name and Score are set and whose own
// list stays empty.
#pragma once

#include <memory>
#include <string>
#include <vector>

namespace kestrum::framework::highscoremanager {

class HighScoreManager {
public:
    using Ptr = std::shared_ptr<HighScoreManager>;

    HighScoreManager() = default;

    // Appends an entry, sorts it in (after older entries of equal score) and
    // cuts the list back to Capacity.
    void Add(const std::string& name, int score);
    // Adds Capacity entries of score 0.
    void Fill(const std::string& name);
    int Count() const { return static_cast<int>(Entries.size()); }
    // The entry at index (0 = best); a new blank entry for an index outside the list.
    Ptr Get(int index) const;
    // The first entry with the greatest (smallest) score; a blank entry for an empty list.
    Ptr Highest() const;
    Ptr Lowest() const;
    // Whether score is at least the lowest score of the list.
    bool Qualifies(int score) const;
    void Clear() { Entries.clear(); }
    // "rank - score - name" lines joined with "\n".
    std::string ToString() const;

    int Capacity = 10;
    std::string Name;
    int Score = 0;
    std::vector<Ptr> Entries;

private:
    // Stable ordering by Score, highest first.
    void Sort_();
};

}  // namespace kestrum::framework::highscoremanager

namespace kestrum::framework {
using namespace highscoremanager;
}
