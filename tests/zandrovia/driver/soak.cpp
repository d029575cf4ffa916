// The long run of the whole game: the autopilot plays for a number of frames
// (default 100,000, about 28 minutes of play at 60 frames a second) and the
// run is reported: the pools at every level change, the resident set at
// 10%, 50% and 100% of the run, and what the autopilot saw. The exit status
// is 1 when a pool was not back to full at a level change. Every tenth frame
// is drawn; the others run the update alone.
//
//   soak [frames] [recording file]
//
// The recording file receives the run's input for a replay.
#include <cstdio>
#include <cstdlib>
#include <string>

#include "zandrovia/driver/autopilot.h"
#include "zandrovia/driver/gamedriver.h"

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;
    if (frames <= 0) {
        std::fprintf(stderr, "usage: soak [frames] [recording file]\n");
        return 2;
    }
    gamedriver::GameDriver game;
    game.DrawEvery = 10;
    if (argc > 2 && !game.Record(argv[2])) {
        std::fprintf(stderr, "cannot write %s\n", argv[2]);
        return 2;
    }
    gamedriver::Autopilot pilot(game);
    int unclean = 0;
    pilot.OnLevelChange = [&](const gamedriver::Autopilot::LevelChange& change) {
        std::printf("frame %7d  level %2d built  pools %s%s  resident %ld kB\n", change.frame, change.level,
                    change.pools.c_str(), change.poolsFull ? "" : "  NOT FULL", gamedriver::GameDriver::ResidentKb());
        std::fflush(stdout);
        unclean += !change.poolsFull;
    };
    pilot.NewRun();

    const long marks[] = {frames / 10, frames / 2, frames};
    const char* names[] = {"10%", "50%", "100%"};
    long rss[3] = {}, peak[3] = {};
    int mark = 0;
    for (long frame = 1; frame <= frames; ++frame) {
        pilot.Step();
        while (mark < 3 && frame == marks[mark]) {
            rss[mark] = gamedriver::GameDriver::ResidentKb();
            peak[mark] = gamedriver::GameDriver::PeakResidentKb();
            std::printf("frame %7ld  %s of the run: resident %ld kB, peak %ld kB\n", frame, names[mark], rss[mark],
                        peak[mark]);
            std::fflush(stdout);
            ++mark;
        }
    }
    game.StopRecording();

    const auto& stats = pilot.GetStats();
    std::string levels;
    for (const int level : stats.levels) levels += (levels.empty() ? "" : " ") + std::to_string(level);
    std::printf("\nframes            %d\n", stats.frames);
    std::printf("levels visited    %zu (%s)\n", stats.levels.size(), levels.c_str());
    std::printf("level changes     %d\n", stats.levelChanges);
    std::printf("games played      %d\n", stats.gamesStarted);
    std::printf("game overs        %d (%d asked for a name)\n", stats.gameOvers, stats.nameEntries);
    std::printf("boss frames       spider %d, saucer %d\n", stats.spiderFrames, stats.saucerFrames);
    std::printf("ship switches     %d\n", stats.switches);
    std::printf("pick-ups taken    %d\n", stats.pickupsTaken);
    std::printf("levels helped     %d nukes, %d skips\n", stats.nukes, stats.skips);
    for (int i = 0; i < 3; ++i) std::printf("peak RSS at %-4s  %ld kB (resident %ld kB)\n", names[i], peak[i], rss[i]);
    std::printf("pools not full at a level change: %d\n", unclean);
    return unclean == 0 ? 0 : 1;
}
