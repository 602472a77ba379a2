#pragma once

// Why a download ended without its content stored; the bar words each one.
enum class DownloadFailure {
    None,
    // The document or the job's own data could not be read.
    Parsing,
    // The network manager failed, or the transfer made no progress.
    Network,
    NotStored,
    Cancelled,
    // The program went offline while the transfer ran.
    WentOffline,
    NotOneSound,
    SoundNameNotPlain,
    TooManyFields,
    // The document is of another exercise than the one asked for.
    OtherExercise,
    // The sound is missing, too large or not a WAV sound.
    SoundRefused,
    TooManyMembers,
    ListsItself,
};
