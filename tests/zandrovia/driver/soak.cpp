// The long run of the whole game: the autopilot plays for a number of frames
// (default 100,000, about 28 minutes of play at 60 frames a second) against
// a score service of its own on the loopback address, and the run is
// reported: the pools at every level change, the memory at 10%, 50% and
// 100% of the run and once every level has been played, and what the
// autopilot saw. The exit status is 1 when a pool was not back to full at a
// level change. Every tenth frame is drawn; the others run the update alone.
//
//   soak [frames] [recording file]
//
// The recording file receives the run's input for a replay.
#include <dlfcn.h>
#include <malloc.h>

#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>

#include "zandrovia/driver/autopilot.h"
#include "zandrovia/driver/gamedriver.h"
#include "zandrovia/localscoreservice.h"
#include "zandrovia/constants.h"
#include "zandrovia/scoreservice.h"

namespace {

// Where the resident set is, in kB: memory of no file (heaps, the
// allocator's and the GL driver's mappings, shared-memory files), mapped
// files (code, fonts), and the rest (stacks, vdso).
struct ResidentSplit {
    long anonymous = 0;
    long files = 0;
    long other = 0;
};

ResidentSplit SplitResident() {
    ResidentSplit split;
    std::ifstream smaps("/proc/self/smaps");
    std::string line;
    long* bucket = &split.other;
    while (std::getline(smaps, line)) {
        std::istringstream fields(line);
        std::string first;
        if (!(fields >> first)) continue;
        if (first.back() != ':') {
            // A mapping: "start-end perms offset device inode [path]".
            std::string perms, offset, device, inode, path;
            fields >> perms >> offset >> device >> inode;
            std::getline(fields >> std::ws, path);
            if (path.empty() || path == "[heap]" || path.starts_with("/memfd:")) {
                bucket = &split.anonymous;
            } else if (path[0] == '/') {
                bucket = &split.files;
            } else {
                bucket = &split.other;
            }
        } else if (first == "Rss:") {
            long kb = 0;
            fields >> kb;
            *bucket += kb;
        }
    }
    return split;
}

// One of the address sanitizer's allocator statistics, or null when its
// runtime is not in the program. Looked up by name: the runtime's interface
// header is not installed with every compiler.
using AllocatorStatistic = std::size_t (*)();
AllocatorStatistic SanitizerStatistic(const char* name) {
    return reinterpret_cast<AllocatorStatistic>(dlsym(RTLD_DEFAULT, name));
}

// The allocator's own view, in kB: what the program holds and what the
// allocator has taken from the system for it.
std::string AllocatorReport() {
    char text[160];
    const AllocatorStatistic allocated = SanitizerStatistic("__sanitizer_get_current_allocated_bytes");
    const AllocatorStatistic heap = SanitizerStatistic("__sanitizer_get_heap_size");
    const AllocatorStatistic free = SanitizerStatistic("__sanitizer_get_free_bytes");
    if (allocated && heap && free) {
        std::snprintf(text, sizeof text, "allocated %zu kB, allocator heap %zu kB, free %zu kB", allocated() / 1024,
                      heap() / 1024, free() / 1024);
        return text;
    }
    const struct mallinfo2 info = mallinfo2();
    std::snprintf(text, sizeof text, "allocated %zu kB (%zu kB in large blocks), arena %zu kB, free %zu kB",
                  (info.uordblks + info.hblkhd) / 1024, info.hblkhd / 1024, info.arena / 1024, info.fordblks / 1024);
    return text;
}

void PrintMemory(long frame, const char* when) {
    const ResidentSplit split = SplitResident();
    std::printf("frame %7ld  %s: resident %ld kB (anonymous %ld, files %ld, other %ld), peak %ld kB; %s\n", frame,
                when, gamedriver::GameDriver::ResidentKb(), split.anonymous, split.files, split.other,
                gamedriver::GameDriver::PeakResidentKb(), AllocatorReport().c_str());
    std::fflush(stdout);
}

}  // namespace

int main(int argc, char** argv) {
    const long frames = argc > 1 ? std::strtol(argv[1], nullptr, 10) : 100000;
    if (frames <= 0) {
        std::fprintf(stderr, "usage: soak [frames] [recording file]\n");
        return 2;
    }
    // Game overs post scores and open the hall of fame: a real service,
    // close by, so that no download waits for a time-out.
    testsupport::LocalScoreService service("normal", R"([[250000,"TOP"],[9000,"NINA"]])");
    setenv(ScoreServiceUrlVariable, service.Url().c_str(), 1);
    gamedriver::GameDriver game;
    ScoreServiceUrl = service.Url();
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
    PrintMemory(0, "start");

    const long marks[] = {frames / 10, frames / 2, frames};
    const char* names[] = {"10%", "50%", "100%"};
    long rss[3] = {}, peak[3] = {};
    long passRss = 0, passPeak = 0;
    int mark = 0;
    for (long frame = 1; frame <= frames; ++frame) {
        const bool passed = pilot.GetStats().passFrame != 0;
        pilot.Step();
        if (!passed && pilot.GetStats().passFrame != 0) {
            passRss = gamedriver::GameDriver::ResidentKb();
            passPeak = gamedriver::GameDriver::PeakResidentKb();
            PrintMemory(frame, "every level played");
        }
        while (mark < 3 && frame == marks[mark]) {
            rss[mark] = gamedriver::GameDriver::ResidentKb();
            peak[mark] = gamedriver::GameDriver::PeakResidentKb();
            PrintMemory(frame, (std::string(names[mark]) + " of the run").c_str());
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
    std::printf("name entries      %d names and %d addresses given with OK, %d skipped; %zu scores posted\n",
                stats.namesGiven, stats.emailsGiven, stats.nameSkips, service.Posts().size());
    std::printf("hall of fame      shown %d times; %d downloads\n", stats.hallsOfFame, service.Gets());
    std::printf("pause menu        %d opened in play, %d closed back to play\n", stats.menuOpens, stats.menuCloses);
    std::printf("switches flipped  sound %d, music %d\n", stats.soundToggles, stats.musicToggles);
    std::printf("reset dialog      %d opened, %d cancelled, %d confirmed\n", stats.resetDialogs, stats.resetCancels,
                stats.resetConfirms);
    std::printf("boss frames       spider %d, saucer %d\n", stats.spiderFrames, stats.saucerFrames);
    std::printf("ship switches     %d\n", stats.switches);
    std::printf("pick-ups taken    %d\n", stats.pickupsTaken);
    std::printf("levels helped     %d nukes, %d skips\n", stats.nukes, stats.skips);
    if (stats.passFrame != 0) {
        std::printf("every level by    frame %d: peak RSS %ld kB (resident %ld kB)\n", stats.passFrame, passPeak,
                    passRss);
    } else {
        std::printf("every level by    (not reached)\n");
    }
    for (int i = 0; i < 3; ++i) std::printf("peak RSS at %-4s  %ld kB (resident %ld kB)\n", names[i], peak[i], rss[i]);
    std::printf("pools not full at a level change: %d\n", unclean);
    return unclean == 0 ? 0 : 1;
}
