#pragma once

#include <jni.h>

// Frees every local reference made during one export call.
class LocalFrame
{
public:
    explicit LocalFrame(JNIEnv* env, jint capacity = 16);
    ~LocalFrame();
    LocalFrame(const LocalFrame&) = delete;
    LocalFrame& operator=(const LocalFrame&) = delete;

private:
    JNIEnv* mEnv;
    bool mPushed;
};
