#pragma once

#include "BatchDoubles.h"
#include "CBatchConverter.h"
#include "CQuentaMediaCntl.h"
#include "CTraceLog.h"
#include "CapturingEventLog.h"
#include "EncoderSetup.h"
#include "Preferences.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>
#include <atomic>
#include <gtest/gtest.h>
#include <memory>

// A batch over rows in memory, converted by the fake tool, which stands in the application
// folder as the encoder tool. A suite may give the controller its own encoders.
class BatchFixture : public ::testing::Test
{
protected:
    QTemporaryDir app;
    QTemporaryDir work;
    QString startDir = QDir::currentPath();
    CTraceLog trace{app.path() + "/trace.log"};
    CapturingEventLog events;
    EncoderSetup setup;
    std::unique_ptr<CQuentaMediaCntl> controller;
    TestRows rows;
    TestUser user;
    std::unique_ptr<CBatchConverter> batch;
    std::atomic<int> shutdowns{0};

    // The controller the batch drives; the engine's own encoders unless a suite says otherwise.
    virtual std::unique_ptr<CQuentaMediaCntl> makeController()
    {
        return std::make_unique<CQuentaMediaCntl>();
    }

    void SetUp() override
    {
        ASSERT_TRUE(QFile::link(TOVEL_FAKE_ENCODER, app.path() + "/encode"));
        g_bOverwrite = 0;
        setup.appFolder = app.path() + '/';
        setup.trace = &trace;
        setup.events = &events;
        user.presetOutputBox(out());
        controller = makeController();
        batch = std::make_unique<CBatchConverter>(*controller, setup, rows, user);
        batch->setShutdown([this] { ++shutdowns; });
        ASSERT_EQ(controller->Init(&setup), 1);
    }
    void TearDown() override
    {
        batch.reset();
        QDir::setCurrent(startDir);
    }

    QString out() const { return work.path() + "/out"; }
    // Converts the checked rows and waits for the batch to end.
    void run()
    {
        ASSERT_EQ(batch->StartConvert(), CBatchConverter::Started);
        batch->Wait();
        EXPECT_FALSE(batch->IsRunning());
    }
};
