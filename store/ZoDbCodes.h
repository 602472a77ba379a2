#pragma once

// Code values written into the type columns of the local database.
class ZoDbCodes
{
public:
    // m.mtmtid
    static constexpr int ManifestTextual = 1;
    static constexpr int ManifestMedia = 2;

    // tm.tmttmtid
    static constexpr int TextualTerm = 1;
    static constexpr int TextualExercise = 2;
    static constexpr int TextualLesson = 3;
    static constexpr int TextualTranslation = 7;

    // mm.mmtmmtid, and the format the store writes into mm.mmf
    static constexpr int MediaSound = 1;
    static constexpr const char* MediaSoundFormat = "Wav";

    // crlt.crtcrtid
    static constexpr int RelationExercisePart = 2;      // exercise -> its term and its recording
    static constexpr int RelationLessonMember = 3;      // lesson -> member exercise, ordered by sn
    static constexpr int RelationTranslationMember = 7; // translation -> member exercise

    // k.ktktid on a translation's manifest: its context
    static constexpr int TagTranslationContext = 2;

    // m.pmid of content not yet uploaded
    static constexpr const char* NoPersistentId = "0";
    // m.sbuid when the supplier is not recorded (rows carried over from version 0)
    static constexpr const char* UnknownSupplierId = "-1";

    // uf.ns
    static constexpr int Studying = 1;
    static constexpr int NotStudying = 0;
};
