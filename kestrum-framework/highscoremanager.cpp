// High-score list. Depends on nothing but the standard library.
#include "kestrum-framework/highscoremanager.h"

#include <utility>

namespace kestrum::framework::highscoremanager {

void HighScoreManager::Add(const std::string& name, int score) {
    auto entry = std::make_shared<HighScoreManager>();
    entry->Name = name;
    entry->Score = score;
    Entries.push_back(std::move(entry));
    Sort_();
    if (Capacity >= 0 && Count() > Capacity) Entries.resize(static_cast<std::size_t>(Capacity));
}

void HighScoreManager::Fill(const std::string& name) {
    for (int i = 0; i < Capacity; ++i) Add(name, 0);
}

void HighScoreManager::Sort_() {
    // A bubble sort: swapping only strictly lower scores keeps equal ones in order.
    const std::size_t n = Entries.size();
    for (std::size_t pass = 1; pass < n; ++pass) {
        for (std::size_t i = 0; i + 1 < n; ++i) {
            if (Entries[i]->Score < Entries[i + 1]->Score) std::swap(Entries[i], Entries[i + 1]);
        }
    }
}

HighScoreManager::Ptr HighScoreManager::Get(int index) const {
    if (index < 0 || index >= Count()) return std::make_shared<HighScoreManager>();
    return Entries[static_cast<std::size_t>(index)];
}

HighScoreManager::Ptr HighScoreManager::Highest() const {
    if (Entries.empty()) return std::make_shared<HighScoreManager>();
    Ptr best = Entries.front();
    for (const auto& entry : Entries) {
        if (entry->Score > best->Score) best = entry;
    }
    return best;
}

HighScoreManager::Ptr HighScoreManager::Lowest() const {
    if (Entries.empty()) return std::make_shared<HighScoreManager>();
    Ptr worst = Entries.front();
    for (const auto& entry : Entries) {
        if (entry->Score < worst->Score) worst = entry;
    }
    return worst;
}

bool HighScoreManager::Qualifies(int score) const { return score >= Lowest()->Score; }

std::string HighScoreManager::ToString() const {
    std::string text;
    for (std::size_t i = 0; i < Entries.size(); ++i) {
        if (i > 0) text += "\n";
        text += std::to_string(i + 1) + " - " + std::to_string(Entries[i]->Score) + " - " + Entries[i]->Name;
    }
    return text;
}

}  // namespace kestrum::framework::highscoremanager
