#pragma once

#include "EncSession.h"
#include "ProducerLibrary.h"
#include "TestMedia.h"

#include <QByteArray>
#include <QLibrary>
#include <gtest/gtest.h>
#include <utility>
#include <vector>

// The built producer library loaded as the program loads it, with a job factory made after
// the access paths of the built application folder.
struct LoadedProducer
{
    QLibrary library{TestMedia::appDir() + "tools/" + ProducerLibrary::fileName()};
    SetDLLAccessPathFn setPaths = nullptr;
    HXTCreateJobFactoryFn createFactory = nullptr;
    ESRef<IESJobFactory> factory;

    LoadedProducer()
    {
        EXPECT_TRUE(library.load()) << library.errorString().toStdString();
        setPaths = reinterpret_cast<SetDLLAccessPathFn>(library.resolve("SetDLLAccessPath"));
        createFactory =
            reinterpret_cast<HXTCreateJobFactoryFn>(library.resolve("HXTCreateJobFactory"));
        if (!setPaths || !createFactory)
            return;
        QByteArray block(int(kESAccessPathBlockSize), '\0');
        const QByteArray entry = "DT_EncSDK=" + TestMedia::appDir().toLocal8Bit() + "tools";
        block.replace(0, entry.size(), entry);
        EXPECT_EQ(setPaths(block.constData()), ES_OK);
        EXPECT_EQ(createFactory(factory.put()), ES_OK);
    }
    ~LoadedProducer()
    {
        factory.reset();
        library.unload();
    }

    // A bag with the texts of `texts`.
    ESRef<IESPropertyBag> bag(const std::vector<std::pair<const char*, const char*>>& texts)
    {
        ESRef<IESPropertyBag> made;
        EXPECT_EQ(ESCreate(factory.get(), made), ES_OK);
        for (const auto& [name, value] : texts)
            EXPECT_EQ(made->SetString(name, value), ES_OK);
        return made;
    }
};
