#include "FakeBridge.h"

QString FakeBridge::fileName()
{
    return QStringLiteral(FAKE_BRIDGE_FILE);
}

bool FakeBridge::load()
{
    mLibrary.setFileName(fileName());
    if (!mLibrary.load())
        return false;
    mReset = reinterpret_cast<void (*)()>(mLibrary.resolve("fakeBridgeReset"));
    mQueue = reinterpret_cast<void (*)(const char*, const char*)>(mLibrary.resolve("fakeBridgeQueue"));
    mSetDefault = reinterpret_cast<void (*)(const char*, const char*)>(mLibrary.resolve("fakeBridgeSetDefault"));
    mHold = reinterpret_cast<void (*)(const char*)>(mLibrary.resolve("fakeBridgeHold"));
    mRelease = reinterpret_cast<void (*)()>(mLibrary.resolve("fakeBridgeRelease"));
    mCallCount = reinterpret_cast<int (*)()>(mLibrary.resolve("fakeBridgeCallCount"));
    mCallName = reinterpret_cast<const char* (*)(int)>(mLibrary.resolve("fakeBridgeCallName"));
    mArgCount = reinterpret_cast<int (*)(int)>(mLibrary.resolve("fakeBridgeArgCount"));
    mArg = reinterpret_cast<const char* (*)(int, int)>(mLibrary.resolve("fakeBridgeArg"));
    return mReset && mQueue && mSetDefault && mHold && mRelease && mCallCount && mCallName && mArgCount && mArg;
}

void FakeBridge::reset()
{
    mReset();
}

void FakeBridge::queue(const QString& exportName, const QString& reply)
{
    const QByteArray bytes = reply.toUtf8();
    mQueue(exportName.toUtf8().constData(), reply.isNull() ? nullptr : bytes.constData());
}

void FakeBridge::setDefault(const QString& exportName, const QString& reply)
{
    const QByteArray bytes = reply.toUtf8();
    mSetDefault(exportName.toUtf8().constData(), reply.isNull() ? nullptr : bytes.constData());
}

void FakeBridge::hold(const QString& exportName)
{
    mHold(exportName.toUtf8().constData());
}

void FakeBridge::release()
{
    mRelease();
}

QList<FakeBridge::Call> FakeBridge::calls()
{
    QList<Call> result;
    const int count = mCallCount();
    for (int i = 0; i < count; ++i) {
        Call call{QString::fromUtf8(mCallName(i)), {}};
        for (int a = 0; a < mArgCount(i); ++a)
            call.args.append(QString::fromUtf8(mArg(i, a)));
        result.append(call);
    }
    return result;
}

QStringList FakeBridge::callSummary()
{
    QStringList summary;
    for (const Call& call : calls()) {
        QStringList shortArgs;
        for (const QString& arg : call.args)
            shortArgs.append(arg.size() > 40 ? QStringLiteral("...") : arg);
        summary.append(call.name + QLatin1Char('(') + shortArgs.join(QLatin1Char(',')) + QLatin1Char(')'));
    }
    return summary;
}

QStringList FakeBridge::lastArgs(const QString& exportName)
{
    const QList<Call> all = calls();
    for (auto it = all.crbegin(); it != all.crend(); ++it) {
        if (it->name == exportName)
            return it->args;
    }
    return {};
}
