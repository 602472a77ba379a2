#include "BridgeApi.h"

#include <vector>

const QByteArray BridgeApi::kNull = QByteArrayLiteral("<nullptr>");

namespace {

using IntFn = int (*)();
using HandleIntFn = int (*)(int);
using HandleTextFn = const char* (*)(int);
using TextTextFn = const char* (*)(const char*);
using TextIntFn = int (*)(const char*);
using TwoTextIntFn = int (*)(const char*, const char*);
using UploadFn = int (*)(const char*, const char**, int);

const char* pointer(const QByteArray& arg)
{
    return arg == BridgeApi::kNull ? nullptr : arg.constData();
}

QByteArray text(const char* value)
{
    return value ? QByteArrayLiteral("text:") + QByteArray(value) : QByteArrayLiteral("null");
}

QByteArray arg(const QList<QByteArray>& args, int i)
{
    return i < args.size() ? args.at(i) : QByteArray();
}

} // namespace

QList<QByteArray> BridgeApi::exportNames()
{
    return {"init",
            "startViredaNet",
            "startMessagingService",
            "startQueryService",
            "startDownloadService",
            "startUploadService",
            "endSession",
            "sendMessage",
            "sendQuery",
            "upload",
            "uploadManifest",
            "getUploadStatus",
            "isUploadXmlDone",
            "getUploadReply",
            "downloadExercise",
            "downloadManifest",
            "getDownloadStatus",
            "isDownloadXmlDone",
            "getDownloadXml",
            "getTranslationXml",
            "cancelDownload"};
}

bool BridgeApi::load(QString* error)
{
    mLibrary.setFileName(QStringLiteral(VIREDA_BRIDGE_LIBRARY));
    if (!mLibrary.load()) {
        *error = mLibrary.errorString();
        return false;
    }
    for (const QByteArray& name : exportNames()) {
        if (!mLibrary.resolve(name.constData())) {
            *error = QStringLiteral("export missing: ") + QString::fromLatin1(name);
            return false;
        }
    }
    return true;
}

QFunctionPointer BridgeApi::resolve(const QByteArray& name)
{
    return mLibrary.resolve(name.constData());
}

QByteArray BridgeApi::call(const QByteArray& name, const QList<QByteArray>& args)
{
    QFunctionPointer f = resolve(name);
    if (!f)
        return QByteArrayLiteral("missing export");
    const int handle = arg(args, 0).toInt();
    if (name == "init" || name.startsWith("start") || name == "endSession")
        return QByteArray::number(reinterpret_cast<IntFn>(f)());
    if (name == "cancelDownload" || name == "getDownloadStatus" || name == "getUploadStatus"
        || name == "isUploadXmlDone" || name == "isDownloadXmlDone")
        return QByteArray::number(reinterpret_cast<HandleIntFn>(f)(handle));
    if (name == "getUploadReply" || name == "getDownloadXml" || name == "getTranslationXml")
        return text(reinterpret_cast<HandleTextFn>(f)(handle));
    if (name == "sendMessage" || name == "sendQuery") {
        const QByteArray a = arg(args, 0);
        return text(reinterpret_cast<TextTextFn>(f)(pointer(a)));
    }
    if (name == "downloadExercise") {
        const QByteArray a = arg(args, 0);
        return QByteArray::number(reinterpret_cast<TextIntFn>(f)(pointer(a)));
    }
    if (name == "uploadManifest" || name == "downloadManifest") {
        const QByteArray a = arg(args, 0);
        const QByteArray b = arg(args, 1);
        return QByteArray::number(reinterpret_cast<TwoTextIntFn>(f)(pointer(a), pointer(b)));
    }
    if (name == "upload") {
        const QByteArray xml = arg(args, 0);
        std::vector<const char*> paths;
        for (int i = 1; i < args.size(); ++i)
            paths.push_back(pointer(args.at(i)));
        return QByteArray::number(reinterpret_cast<UploadFn>(f)(pointer(xml), paths.empty() ? nullptr : paths.data(),
                                                                static_cast<int>(paths.size())));
    }
    return QByteArrayLiteral("unknown export");
}
