#include "ResourceDoubles.h"

#include "PluginLocator.h"

namespace {

const char* const kDoubles[][2] = {
    {"doubles/TestLanguageTable.so", "ZoLanguageResource.so"},
    {"doubles/TestCountryTable.so", "ZoCountryResource.so"},
    {"doubles/TestFluencyLevelTable.so", "ZoFluencyLevelResource.so"},
    {"doubles/TestLearnerLevelTable.so", "ZoLearnerLevelResource.so"},
    {"doubles/TestTagTable.so", "ZoTagResource.so"},
    {"doubles/TestManifestTable.so", "ZoManifestResource.so"},
};

} // namespace

ResourceDoubles::ResourceDoubles()
    : mTree(TestTree::NoPlugins)
{
    if (!mTree.isValid())
        return;
    mValid = true;
    for (const auto& entry : kDoubles)
        mValid = mTree.addPlugin(QString::fromLatin1(entry[0]), QStringLiteral("Resources"),
                                 QString::fromLatin1(entry[1]))
                 && mValid;
    mTree.enter();
}

bool ResourceDoubles::isValid() const
{
    return mValid;
}

TestTree& ResourceDoubles::tree()
{
    return mTree;
}

QObject* ResourceDoubles::instance(const QString& fileName)
{
    return PluginLocator::instance(QStringLiteral("plugins_dll/Resources/") + fileName);
}
