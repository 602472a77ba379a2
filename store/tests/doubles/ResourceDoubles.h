#pragma once

#include "TestTree.h"

#include <QString>

// A temporary ready-to-run tree, entered as the working directory, whose
// Resources folder holds the table doubles under the real plug-in names:
//   languages   eng English, fra French, deu German, ita Italian, spa Spanish
//   countries   US United States, FR France, DE Germany, IT Italy
//   fluency     1 Beginner, 2 Intermediate, 3 Fluent, 4 Native
//   learner     1 Novice, 2 Middle, 3 Advanced
//   tags        1 Translation, 2 Context, 3 Note
//   manifests   1 Textual, 2 Media, 7 Translation
// The SIL resource is left out.
class ResourceDoubles
{
public:
    ResourceDoubles();

    bool isValid() const;
    TestTree& tree();
    // The instance behind a resource file name such as "ZoTagResource.dll".
    static QObject* instance(const QString& fileName);

private:
    TestTree mTree;
    bool mValid = false;
};
