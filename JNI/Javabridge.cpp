#include "Javabridge.h"

#include "BridgeEcho.h"
#include "EchoMask.h"
#include "LocalFrame.h"
#include "Utf16Text.h"

#include <jni.h>

#include <cstdarg>
#include <cstdio>
#include <string>
#include <vector>

namespace {

// One virtual machine and one client object per process, set by init(); the
// references are global, so any thread may use them.
JavaVM* gVm = nullptr;
jclass gClientClass = nullptr;
jobject gClient = nullptr;
jclass gStringClass = nullptr;
// The calling thread's environment: a thread is attached at its first call.
thread_local JNIEnv* gEnv = nullptr;

// The last text handed out by each export that returns text.
std::string gSendMessageText;
std::string gSendQueryText;
std::string gUploadReplyText;
std::string gDownloadXmlText;
std::string gTranslationXmlText;

// The jar comes first: the class-data archive below holds its classes only
// for a class path that starts as it did when the archive was made.
#if defined(_WIN32)
const char kClassPathOption[] = "-Djava.class.path=.\\ViredaClientNetwork.jar;.";
#else
const char kClassPathOption[] = "-Djava.class.path=./ViredaClientNetwork.jar:.";
#endif
// Made by the build: the classes the client loads before the sign-in, already
// read and checked, mapped instead of read from the jars at every start.
const char kArchiveFile[] = "ViredaClientNetwork.jsa";
const char kArchiveOption[] = "-XX:SharedArchiveFile=ViredaClientNetwork.jsa";
// Leaves SIGINT, SIGTERM and SIGHUP to the program.
const char kSignalOption[] = "-Xrs";
// The client and the peer it may run start small and grow when they need
// to: one collector thread and no more heap committed than used, the quick
// compiler only, one thread of it, and only for code run four times as often
// as by default, no shared performance counters file, a small table of
// interned strings to start with.
const char* const kMemoryOptions[] = {"-XX:+UseSerialGC",
                                      "-Xms8m",
                                      "-XX:NewSize=4m",
                                      "-XX:TieredStopAtLevel=1",
                                      "-XX:CICompilerCount=1",
                                      "-XX:CompileThresholdScaling=4",
                                      "-XX:ReservedCodeCacheSize=32m",
                                      "-XX:-UsePerfData",
                                      "-XX:StringTableSize=4096"};

const int kFailure = -999;

// Attaches the calling thread to the virtual machine once.
bool attached()
{
    if (gEnv)
        return true;
    if (!gVm)
        return false;
    void* env = nullptr;
    if (gVm->GetEnv(&env, JNI_VERSION_1_4) != JNI_OK && gVm->AttachCurrentThread(&env, nullptr) != JNI_OK)
        return false;
    gEnv = static_cast<JNIEnv*>(env);
    return true;
}

bool started()
{
    return gClientClass && gClient && attached();
}

// A global reference in place of a local one; null stays null.
template <typename T>
T kept(T local)
{
    if (!local)
        return nullptr;
    T global = static_cast<T>(gEnv->NewGlobalRef(local));
    gEnv->DeleteLocalRef(local);
    return global;
}

// True when a Java exception was pending; it is then described to standard
// error and cleared, so the next call starts clean.
bool threw()
{
    if (!gEnv->ExceptionCheck())
        return false;
    gEnv->ExceptionDescribe();
    gEnv->ExceptionClear();
    return true;
}

// The client's method, looked up at every call; null when it does not exist.
// The NoSuchMethodError is dropped: the caller reports the missing method.
jmethodID clientMethod(const char* name, const char* signature)
{
    jmethodID id = gEnv->GetMethodID(gClientClass, name, signature);
    if (gEnv->ExceptionCheck()) {
        gEnv->ExceptionClear();
        return nullptr;
    }
    return id;
}

// A Java string of NUL-terminated UTF-8 text; null when none was made.
jstring convertCStrToJStr(const char* text)
{
    if (!text)
        return nullptr;
    static const char16_t kEmpty = 0;
    const std::vector<char16_t> units = Utf16Text::fromUtf8(text);
    const jchar* data = reinterpret_cast<const jchar*>(units.empty() ? &kEmpty : units.data());
    jstring result = gEnv->NewString(data, static_cast<jsize>(units.size()));
    if (threw())
        return nullptr;
    return result;
}

// The UTF-8 text of a Java string, kept in target; false for a null
// reference or characters that could not be read.
bool convertJStrToCStr(jstring text, std::string& target)
{
    if (!text)
        return false;
    const jsize length = gEnv->GetStringLength(text);
    if (threw())
        return false;
    std::vector<char16_t> units(static_cast<std::size_t>(length > 0 ? length : 0));
    if (length > 0)
        gEnv->GetStringRegion(text, 0, length, reinterpret_cast<jchar*>(units.data()));
    if (threw())
        return false;
    target = Utf16Text::toUtf8(units.data(), units.size());
    return true;
}

jint callInt(jmethodID method, int failure, ...)
{
    va_list args;
    va_start(args, failure);
    const jint result = gEnv->CallIntMethodV(gClient, method, args);
    va_end(args);
    return threw() ? failure : result;
}

jobject callObject(jmethodID method, ...)
{
    va_list args;
    va_start(args, method);
    jobject result = gEnv->CallObjectMethodV(gClient, method, args);
    va_end(args);
    return threw() ? nullptr : result;
}

// The logged pattern of the integer exports: banner, look-up, call.
int loggedIntCall(const char* banner, const char* javaName, const char* signature, const char* missingLine,
                  bool withHandle, int handle)
{
    if (!started())
        return kFailure;
    LocalFrame frame(gEnv);
    BridgeEcho::line(std::string("\n-=") + banner + "()=-");
    jmethodID method = clientMethod(javaName, signature);
    if (!method) {
        BridgeEcho::errorLine(missingLine);
        return kFailure;
    }
    BridgeEcho::line(std::string("Calling ViredaClientNetwork.") + javaName + "()");
    return withHandle ? callInt(method, kFailure, static_cast<jint>(handle)) : callInt(method, kFailure);
}

// The quiet polling exports: no lines at all.
int quietIntCall(const char* javaName, int handle, int failure)
{
    if (!started())
        return failure;
    LocalFrame frame(gEnv);
    jmethodID method = clientMethod(javaName, "(I)I");
    if (!method)
        return failure;
    return callInt(method, failure, static_cast<jint>(handle));
}

// The exports returning the text of a transfer.
const char* textByHandle(const char* javaName, int handle, std::string& keep, const char* missingLine)
{
    if (!started())
        return nullptr;
    LocalFrame frame(gEnv);
    jmethodID method = clientMethod(javaName, "(I)Ljava/lang/String;");
    if (!method) {
        if (missingLine)
            BridgeEcho::line(missingLine);
        return nullptr;
    }
    jobject reply = callObject(method, static_cast<jint>(handle));
    if (!convertJStrToCStr(static_cast<jstring>(reply), keep))
        return nullptr;
    return keep.c_str();
}

// Both manifest transfers: two strings made first, then the look-up.
int twoTextCall(const char* javaName, const char* first, const char* second)
{
    if (!started())
        return -1;
    LocalFrame frame(gEnv);
    jstring a = convertCStrToJStr(first);
    jstring b = convertCStrToJStr(second);
    jmethodID method = clientMethod(javaName, "(Ljava/lang/String;Ljava/lang/String;)I");
    if (!method)
        return -1;
    return callInt(method, -1, a, b);
}

} // namespace

extern "C" {

int init(void)
{
    BridgeEcho::line("\n-=init()=-");
    if (!gVm) {
        std::vector<JavaVMOption> options;
        for (const char* text : {kClassPathOption, kSignalOption})
            options.push_back({const_cast<char*>(text), nullptr});
        for (const char* text : kMemoryOptions)
            options.push_back({const_cast<char*>(text), nullptr});
        if (std::FILE* archive = std::fopen(kArchiveFile, "rb")) {
            std::fclose(archive);
            options.push_back({const_cast<char*>(kArchiveOption), nullptr});
        }
        JavaVMInitArgs args;
        args.version = JNI_VERSION_1_4;
        args.nOptions = static_cast<jint>(options.size());
        args.options = options.data();
        args.ignoreUnrecognized = JNI_TRUE;
        JavaVM* vm = nullptr;
        JNIEnv* env = nullptr;
        if (JNI_CreateJavaVM(&vm, reinterpret_cast<void**>(&env), &args) != JNI_OK) {
            BridgeEcho::errorLine("Can't create Java VM");
            return kFailure;
        }
        gVm = vm;
        gEnv = env;
        BridgeEcho::line("Initalized the JVM");
    }
    if (!attached())
        return kFailure;
    if (gClient)
        return 1;

    // These references stay for the life of the process.
    gClientClass = kept(gEnv->FindClass("com/vireda/ViredaClientNetwork"));
    if (!gClientClass || gEnv->ExceptionCheck()) {
        gEnv->ExceptionClear();
        gClientClass = nullptr;
        BridgeEcho::errorLine("Can't find class: ViredaClientNetwork");
        return kFailure;
    }
    BridgeEcho::line("Found the ViredaClientNetwork class");

    jmethodID constructor = gEnv->GetMethodID(gClientClass, "<init>", "()V");
    if (!constructor || gEnv->ExceptionCheck()) {
        gEnv->ExceptionClear();
        BridgeEcho::line("Cannot find ViredaClientNetwork's constructor");
        return kFailure;
    }
    BridgeEcho::line("Got ViredaClientNetwork constructor");

    jobject client = gEnv->NewObject(gClientClass, constructor);
    if (threw() || !client) {
        BridgeEcho::line("ViredaClientNetwork object did not get instantiated");
        return kFailure;
    }
    gClient = kept(client);
    BridgeEcho::line("Instantiated a ViredaClientNetwork object");

    gStringClass = kept(gEnv->FindClass("java/lang/String"));
    if (gEnv->ExceptionCheck()) {
        gEnv->ExceptionClear();
        gStringClass = nullptr;
    }
    return 1;
}

int detachThread(void)
{
    if (!gVm || !gEnv)
        return 0;
    const bool ok = gVm->DetachCurrentThread() == JNI_OK;
    gEnv = nullptr;
    return ok ? 1 : 0;
}

int startViredaNet(void)
{
    return loggedIntCall("startViredaNet", "startViredaNet", "()I", "GetMethodID for startViredaNet", false, 0);
}

int startMessagingService(void)
{
    return loggedIntCall("startMessagingService", "startMessagingService", "()I",
                         "GetMethodID failed for startMessagingService", false, 0);
}

int startQueryService(void)
{
    return loggedIntCall("startQueryService", "startQueryService", "()I", "GetMethodID failed for startQueryService",
                         false, 0);
}

int startDownloadService(void)
{
    return loggedIntCall("startDownloadService", "startDownloadService", "()I",
                         "GetMethodID failed for startDownloadService", false, 0);
}

int startUploadService(void)
{
    return loggedIntCall("startUploadService", "startUploadService", "()I", "GetMethodID failed for startUploadService",
                         false, 0);
}

int endSession(void)
{
    return loggedIntCall("endSession", "endSession", "()I", "GetMethodID failed for endSession", false, 0);
}

int cancelDownload(int handle)
{
    return loggedIntCall("cancelDownload", "cancelDownload", "(I)I", "GetMethodID failed for cancelDownload", true,
                         handle);
}

int getDownloadStatus(int handle)
{
    return loggedIntCall("getDownloadStatus", "getDownloadStatus", "(I)I", "GetMethodID failed for getDownloadStatus",
                         true, handle);
}

int getUploadStatus(int handle)
{
    return loggedIntCall("getUploadStatus", "getUploadStatus", "(I)I", "GetMethodID failed for getUploadStatus", true,
                         handle);
}

int isUploadXmlDone(int handle)
{
    return quietIntCall("isUploadXMLDone", handle, 0);
}

int isDownloadXmlDone(int handle)
{
    return quietIntCall("isDownloadXmlDone", handle, 0);
}

const char* getUploadReply(int handle)
{
    return textByHandle("getUploadReply", handle, gUploadReplyText, nullptr);
}

const char* getDownloadXml(int handle)
{
    return textByHandle("getDownloadXML", handle, gDownloadXmlText, nullptr);
}

const char* getTranslationXml(int handle)
{
    return textByHandle("getTranslationXML", handle, gTranslationXmlText,
                        "Can't initialize ViredaClientNetwork.getTranslationXml()");
}

int uploadManifest(const char* xml, const char* kind)
{
    return twoTextCall("uploadManifest", xml, kind);
}

int downloadManifest(const char* persistentId, const char* kind)
{
    return twoTextCall("downloadManifest", persistentId, kind);
}

int downloadExercise(const char* persistentId)
{
    if (!started())
        return -1;
    LocalFrame frame(gEnv);
    BridgeEcho::line("\n-=download()=-");
    jmethodID method = clientMethod("downloadExercise", "(Ljava/lang/String;)I");
    if (!method) {
        BridgeEcho::errorLine("GetMethodID failed for downloadExercise");
        return -1;
    }
    jstring id = convertCStrToJStr(persistentId);
    if (!id) {
        BridgeEcho::line("unable to create jstring");
        return -1;
    }
    BridgeEcho::line("Calling ViredaClientNetwork.downloadExercise()");
    return callInt(method, -1, id);
}

const char* sendMessage(const char* xml)
{
    if (!started())
        return nullptr;
    LocalFrame frame(gEnv);
    BridgeEcho::line("\n-=sendMessage()=-");
    BridgeEcho::line((xml ? EchoMask::mask(xml) : std::string()) + "\n-=End of sendMessage()=-");
    jmethodID method = clientMethod("sendMessage", "(Ljava/lang/String;)Ljava/lang/String;");
    if (!method) {
        BridgeEcho::line("GetMethodID failed for sendMessage");
        return nullptr;
    }
    jstring request = convertCStrToJStr(xml);
    if (!request) {
        BridgeEcho::line("Unable to create jstring");
        return nullptr;
    }
    BridgeEcho::line("Calling ViredaClientNetwork.sendMessage()");
    jobject reply = callObject(method, request);
    if (!convertJStrToCStr(static_cast<jstring>(reply), gSendMessageText)) {
        BridgeEcho::text("JNI ERROR: convertJStrToCStr failed");
        return nullptr;
    }
    // The echo ends at a NUL character of the reply, as the reply does for the caller.
    BridgeEcho::text("sendMessage() got REPLY FROM SERVER:\n\"" + std::string(EchoMask::mask(gSendMessageText).c_str())
                     + "\n\"");
    return gSendMessageText.c_str();
}

const char* sendQuery(const char* xml)
{
    if (!started())
        return nullptr;
    LocalFrame frame(gEnv);
    BridgeEcho::line("\n-=sendQuery()=-");
    jmethodID method = clientMethod("sendQuery", "(Ljava/lang/String;)Ljava/lang/String;");
    if (!method) {
        BridgeEcho::line("GetMethodID failed for sendQuery");
        return nullptr;
    }
    jstring request = convertCStrToJStr(xml);
    if (!request) {
        BridgeEcho::line("Unable to create jstring");
        return nullptr;
    }
    jobject reply = callObject(method, request);
    if (!convertJStrToCStr(static_cast<jstring>(reply), gSendQueryText)) {
        BridgeEcho::text("Query returned null. Network error.");
        return nullptr;
    }
    return gSendQueryText.c_str();
}

int upload(const char* xml, const char** paths, int count)
{
    if (!started())
        return -1;
    LocalFrame frame(gEnv);
    BridgeEcho::line("\n-=upload()=-");
    jmethodID method = clientMethod("upload", "(Ljava/lang/String;[Ljava/lang/String;)I");
    if (!method) {
        BridgeEcho::line("GetMethodID failed for upload");
        return -1;
    }
    jstring message = convertCStrToJStr(xml);
    if (!message)
        BridgeEcho::line("ERROR: unable to create jstring XMLData");

    jobjectArray files = nullptr;
    if (count >= 0 && gStringClass) {
        files = gEnv->NewObjectArray(count, gStringClass, nullptr);
        if (threw())
            files = nullptr;
    }
    if (!files) {
        BridgeEcho::line("ERROR: unable to create jarray");
    } else {
        for (int i = 0; i < count; ++i) {
            jstring path = convertCStrToJStr(paths ? paths[i] : nullptr);
            if (!path) {
                BridgeEcho::line("ERROR: unable to create jstring filepath");
                continue;
            }
            gEnv->SetObjectArrayElement(files, i, path);
            threw();
            gEnv->DeleteLocalRef(path);
        }
    }
    BridgeEcho::line("Number of files to upload is " + std::to_string(count));
    return callInt(method, -1, message, files);
}

} // extern "C"
