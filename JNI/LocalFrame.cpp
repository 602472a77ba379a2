#include "LocalFrame.h"

LocalFrame::LocalFrame(JNIEnv* env, jint capacity)
    : mEnv(env)
    , mPushed(env->PushLocalFrame(capacity) == JNI_OK)
{
    if (!mPushed)
        mEnv->ExceptionClear();
}

LocalFrame::~LocalFrame()
{
    if (mPushed)
        mEnv->PopLocalFrame(nullptr);
}
