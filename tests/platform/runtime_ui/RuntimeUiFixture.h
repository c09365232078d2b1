#pragma once
// Installs the runtime doubles for each test, turns an unexpected dialog into a test failure,
// and leaves no form behind.
#include "platform/runtime/ui/Form.h"
#include "support/RuntimeDoubles.h"

#include <QCoreApplication>
#include <QEvent>
#include <gtest/gtest.h>

#include <memory>

inline void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }

class RuntimeUiTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        doubles_ = std::make_unique<vb::RuntimeDoubles>();
        doubles_->setOnUnexpected([](const QString& message) { ADD_FAILURE() << message.toStdString(); });
    }
    void TearDown() override
    {
        vb::DestroyAllForms();
        FlushDeletes();
        doubles_.reset();
    }
    vb::RuntimeDoubles& doubles() { return *doubles_; }

private:
    std::unique_ptr<vb::RuntimeDoubles> doubles_;
};
