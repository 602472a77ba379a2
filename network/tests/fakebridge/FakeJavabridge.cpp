// A stand-in for the Java bridge: the same exports, replies scripted by the
// test through the control exports, and a log of every call.

#include "FakeBridgeControl.h"
#include "Javabridge.h"

#include <condition_variable>
#include <cstdlib>
#include <deque>
#include <map>
#include <mutex>
#include <optional>
#include <string>
#include <vector>

namespace {

using Reply = std::optional<std::string>;

struct Call
{
    std::string name;
    std::vector<std::string> args;
};

struct State
{
    std::map<std::string, std::deque<Reply>> queued;
    std::map<std::string, Reply> defaults;
    std::map<std::string, std::string> returned;
    std::vector<Call> calls;
    // Exports that wait, once called, until the test lets them go: the
    // network manager starts on a thread of its own.
    std::string held;
    std::mutex heldMutex;
    std::condition_variable heldReleased;
};

State& state()
{
    static State s;
    return s;
}

const std::map<std::string, Reply>& baseDefaults()
{
    static const std::map<std::string, Reply> defaults = {{"init", "1"},
                                                          {"startViredaNet", "1"},
                                                          {"startMessagingService", "1"},
                                                          {"startQueryService", "1"},
                                                          {"startDownloadService", "1"},
                                                          {"startUploadService", "1"},
                                                          {"sendMessage", std::nullopt},
                                                          {"sendQuery", std::nullopt},
                                                          {"upload", "7"},
                                                          {"uploadManifest", "7"},
                                                          {"getUploadStatus", "0"},
                                                          {"isUploadXmlDone", "1"},
                                                          {"getUploadReply", std::nullopt},
                                                          {"downloadExercise", "3"},
                                                          {"downloadManifest", "4"},
                                                          {"getDownloadStatus", "100"},
                                                          {"isDownloadXmlDone", "1"},
                                                          {"getDownloadXml", std::nullopt},
                                                          {"getTranslationXml", std::nullopt},
                                                          {"cancelDownload", "1"},
                                                          {"detachThread", "1"},
                                                          {"endSession", "1"}};
    return defaults;
}

std::string text(const char* value)
{
    return value ? std::string(value) : std::string("(null)");
}

Reply nextReply(const char* name, std::vector<std::string> args)
{
    State& s = state();
    {
        std::unique_lock<std::mutex> lock(s.heldMutex);
        s.heldReleased.wait(lock, [&s, name] { return s.held != name; });
    }
    s.calls.push_back({name, std::move(args)});
    auto& queue = s.queued[name];
    if (!queue.empty()) {
        Reply reply = queue.front();
        queue.pop_front();
        return reply;
    }
    auto custom = s.defaults.find(name);
    if (custom != s.defaults.end())
        return custom->second;
    auto base = baseDefaults().find(name);
    return base == baseDefaults().end() ? Reply() : base->second;
}

int intReply(const char* name, std::vector<std::string> args)
{
    const Reply reply = nextReply(name, std::move(args));
    return reply ? std::atoi(reply->c_str()) : 0;
}

const char* textReply(const char* name, std::vector<std::string> args)
{
    const Reply reply = nextReply(name, std::move(args));
    if (!reply)
        return nullptr;
    std::string& kept = state().returned[name];
    kept = *reply;
    return kept.c_str();
}

} // namespace

extern "C" {

void fakeBridgeRelease(void);

void fakeBridgeReset(void)
{
    fakeBridgeRelease();
    State& s = state();
    s.queued.clear();
    s.defaults.clear();
    s.calls.clear();
}

void fakeBridgeQueue(const char* exportName, const char* reply)
{
    state().queued[exportName].push_back(reply ? Reply(reply) : Reply());
}

void fakeBridgeSetDefault(const char* exportName, const char* reply)
{
    state().defaults[exportName] = reply ? Reply(reply) : Reply();
}

void fakeBridgeHold(const char* exportName)
{
    State& s = state();
    std::lock_guard<std::mutex> lock(s.heldMutex);
    s.held = exportName ? exportName : "";
}

void fakeBridgeRelease(void)
{
    State& s = state();
    {
        std::lock_guard<std::mutex> lock(s.heldMutex);
        s.held.clear();
    }
    s.heldReleased.notify_all();
}

int fakeBridgeCallCount(void)
{
    return int(state().calls.size());
}

const char* fakeBridgeCallName(int call)
{
    const auto& calls = state().calls;
    return call >= 0 && call < int(calls.size()) ? calls[call].name.c_str() : nullptr;
}

int fakeBridgeArgCount(int call)
{
    const auto& calls = state().calls;
    return call >= 0 && call < int(calls.size()) ? int(calls[call].args.size()) : -1;
}

const char* fakeBridgeArg(int call, int arg)
{
    const auto& calls = state().calls;
    if (call < 0 || call >= int(calls.size()) || arg < 0 || arg >= int(calls[call].args.size()))
        return nullptr;
    return calls[call].args[arg].c_str();
}

int init(void)
{
    return intReply("init", {});
}
int detachThread(void)
{
    return intReply("detachThread", {});
}
int startViredaNet(void)
{
    return intReply("startViredaNet", {});
}
int startMessagingService(void)
{
    return intReply("startMessagingService", {});
}
int startQueryService(void)
{
    return intReply("startQueryService", {});
}
int startDownloadService(void)
{
    return intReply("startDownloadService", {});
}
int startUploadService(void)
{
    return intReply("startUploadService", {});
}
int endSession(void)
{
    return intReply("endSession", {});
}
const char* sendMessage(const char* xml)
{
    return textReply("sendMessage", {text(xml)});
}
const char* sendQuery(const char* xml)
{
    return textReply("sendQuery", {text(xml)});
}

int upload(const char* xml, const char** paths, int count)
{
    std::vector<std::string> args{text(xml), std::to_string(count)};
    for (int i = 0; i < count; ++i)
        args.push_back(text(paths ? paths[i] : nullptr));
    return intReply("upload", std::move(args));
}

int uploadManifest(const char* xml, const char* kind)
{
    return intReply("uploadManifest", {text(xml), text(kind)});
}
int getUploadStatus(int handle)
{
    return intReply("getUploadStatus", {std::to_string(handle)});
}
int isUploadXmlDone(int handle)
{
    return intReply("isUploadXmlDone", {std::to_string(handle)});
}
const char* getUploadReply(int handle)
{
    return textReply("getUploadReply", {std::to_string(handle)});
}
int downloadExercise(const char* persistentId)
{
    return intReply("downloadExercise", {text(persistentId)});
}

int downloadManifest(const char* persistentId, const char* kind)
{
    return intReply("downloadManifest", {text(persistentId), text(kind)});
}

int getDownloadStatus(int handle)
{
    return intReply("getDownloadStatus", {std::to_string(handle)});
}
int isDownloadXmlDone(int handle)
{
    return intReply("isDownloadXmlDone", {std::to_string(handle)});
}
const char* getDownloadXml(int handle)
{
    return textReply("getDownloadXml", {std::to_string(handle)});
}
const char* getTranslationXml(int handle)
{
    return textReply("getTranslationXml", {std::to_string(handle)});
}
int cancelDownload(int handle)
{
    return intReply("cancelDownload", {std::to_string(handle)});
}

} // extern "C"
