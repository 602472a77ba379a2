#pragma once

// Exports of the Java bridge. Every function is a plain C export, looked up
// by name by its user. Text crosses as NUL-terminated UTF-8; a returned text
// stays valid until the next call of the same export.

#if defined(_WIN32)
#define JAVABRIDGE_EXPORT __declspec(dllexport)
#else
#define JAVABRIDGE_EXPORT __attribute__((visibility("default")))
#endif

extern "C" {
JAVABRIDGE_EXPORT int init(void);
// Detaches the calling thread from the virtual machine, before it ends.
JAVABRIDGE_EXPORT int detachThread(void);
JAVABRIDGE_EXPORT int startViredaNet(void);
JAVABRIDGE_EXPORT int startMessagingService(void);
JAVABRIDGE_EXPORT int startQueryService(void);
JAVABRIDGE_EXPORT int startDownloadService(void);
JAVABRIDGE_EXPORT int startUploadService(void);
// Ends the signed-in user's session with the peer: 1 ended, 0 none held.
JAVABRIDGE_EXPORT int endSession(void);
JAVABRIDGE_EXPORT const char* sendMessage(const char* xml);
JAVABRIDGE_EXPORT const char* sendQuery(const char* xml);
JAVABRIDGE_EXPORT int upload(const char* xml, const char** paths, int count);
JAVABRIDGE_EXPORT int uploadManifest(const char* xml, const char* kind);
JAVABRIDGE_EXPORT int getUploadStatus(int handle);
JAVABRIDGE_EXPORT int isUploadXmlDone(int handle);
JAVABRIDGE_EXPORT const char* getUploadReply(int handle);
JAVABRIDGE_EXPORT int downloadExercise(const char* persistentId);
JAVABRIDGE_EXPORT int downloadManifest(const char* persistentId, const char* kind);
JAVABRIDGE_EXPORT int getDownloadStatus(int handle);
JAVABRIDGE_EXPORT int isDownloadXmlDone(int handle);
JAVABRIDGE_EXPORT const char* getDownloadXml(int handle);
JAVABRIDGE_EXPORT const char* getTranslationXml(int handle);
JAVABRIDGE_EXPORT int cancelDownload(int handle);
}
