#pragma once

#include "host/plug_controller.h"
#include "module/host_context.h"
#include "refhost/controls/host_parameter.h"
#include "refhost/host/host.h"
#include "refhost/services/object_provider.h"
#include "support/controller_user.h"

#include <gtest/gtest.h>

namespace Brennovar::Zintara::Testing {

/// A reference host installed as the module-wide host object provider, so that controllers
/// and value lists make real host parameters. Afterwards every reference must have come back.
class DialogHostTest : public ::testing::Test {
protected:
    DialogHostTest() {
        provider_ = Owned<IHostObjectProvider>::query(host.context());
        hostObjectProvider() = provider_.get();
    }
    ~DialogHostTest() override {
        hostObjectProvider() = nullptr;
        provider_.reset();
        const RefHost::ReferenceReport report = host.references();
        EXPECT_TRUE(report.clean()) << report.text();
    }

    RefHost::HostParameter* hostSide(IHostParameter* parameter) {
        return host.environment().resolveAs<RefHost::HostParameter>(parameter);
    }

    RefHost::Host host;
    Brennovar::Testing::ControllerUser user{host.environment()};

private:
    Owned<IHostObjectProvider> provider_;
};

} // namespace Brennovar::Zintara::Testing
