// Zandrovia: the client of the hall-of-fame web service.
//
// The game speaks no network protocol itself: it runs the downloader wget
// (the copy in the assets folder when there is one, else the one on PATH)
// once per request and waits for it on the main thread. The downloader gets
// an argument vector and no shell, so nothing a player typed, and nothing
// the preferences file holds, is ever read as a command; the score record
// is built as JSON by a JSON writer, so it is valid whatever the name and
// e-mail hold.
//
// Every wait is bounded: the downloader gets its own time-out and one try,
// and it is killed when it runs longer than a hard limit. A reply longer
// than a fixed size is dropped. The reply goes through a temporary file that
// is created in the home folder with a name of its own (never an existing
// file) and is always deleted. Offline, with the service down, stalled or
// answering garbage, the game goes on with an empty hall of fame.
//
// On Windows the downloader is "wget.exe": the assets folder's, else the one
// the system finds (beside the game's executable first). A copy of the game
// may come without it: a downloader that cannot be started is then reported
// once per run, in one line, and the hall of fame stays empty.
//
// The service's address is ScoreServiceUrl; the environment variable named
// by ScoreServiceUrlVariable replaces it at start-up. When
// HALL_OF_FAME_ENABLED is false nothing is posted or fetched.
//
// Depends on the platform's files and text, constants.h and globals.h.
#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// The bounds of one downloader run. Tests shorten them.
struct ScoreServiceLimits {
    // The downloader's own time-out for each of name lookup, connect and read.
    int TimeoutSeconds = 10;
    // The downloader is killed when it has run this long.
    int KillAfterMs = 15000;
    // A longer reply is dropped whole.
    std::size_t ReplyLimit = 64 * 1024;
};
extern ScoreServiceLimits ScoreServiceBounds;

// The environment variable that replaces ScoreServiceUrl when it is set and not empty.
inline constexpr const char* ScoreServiceUrlVariable = "ZANDROVIA_SCORE_SERVICE_URL";
// The value of that variable, or fallback.
std::string ScoreServiceUrlFromEnvironment(const std::string& fallback);

// The downloader: the assets folder's "wget" when it is an executable file
// there, else "wget" (looked up on PATH); "wget.exe" on Windows.
std::string WgetPath();

// The score record: {"score":N,"name":"…","email":"…","psc":"lvl<level>v<version>l<locale>"}
// with no blanks between the members; the strings are escaped as JSON
// requires and bytes that are not UTF-8 become U+FFFD.
std::string ScoreRecord(int score, const std::string& name, const std::string& email, int level,
                        const std::string& version, const std::string& locale);

// The downloader's arguments (after the program) for a post and for a download.
std::vector<std::string> PostArguments(const std::string& url, const std::string& json);
std::vector<std::string> FetchArguments(const std::string& url, const std::string& outputPath);

// Posts the record to the service and waits (within the bounds). The reply
// is thrown away; a failure prints one line and changes nothing else.
void PostScore(const std::string& url, const std::string& json);

// Downloads the hall of fame and hands the reply to the credits box as its
// HiscoreData (empty when the download failed or the switch is off), then
// deletes the temporary file. Prints "highscore loaded into credits", or
// "Did NOT load highscore, " and the reason.
void FetchHiscores(const std::string& url);

// The entries of a reply ("score:name" texts in the reply's order), or
// nullopt when the reply is not usable: it lacks `success":true` or
// `debugmsg":"GET`, or an entry of its list has no ":". The list is the
// text between the first "[" and the first "]" once braces and quotes are
// gone, split at every "," (an empty list is one empty entry, so "[]" is
// not usable).
std::optional<std::vector<std::string>> GetHiscoresFromData(std::string data);
