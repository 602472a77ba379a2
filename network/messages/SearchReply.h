#pragma once

#include "ZoExercise.h"
#include "ZoLesson.h"

#include <QList>

class PeerReply;
class ZoDbHelper;

// Reads the peer's answers to the exercise and lesson searches. The status
// (may be null) is 1 once results were read, 2 when none were found, 0
// without an answer or for a refused query, -1 for an unreadable answer and
// INetManager::ReplyPastLimit for one refused for its size or for more
// results (or lesson members) than a page may hold: then nothing of it is
// used. totalResults (may be null) is written only with status 1.
class SearchReply
{
public:
    static QList<ZoExercise> exercises(const PeerReply& reply, const ZoDbHelper& lookup, int* status,
                                       int* totalResults);
    static QList<ZoLesson> lessons(const PeerReply& reply, int* status, int* totalResults);
};
