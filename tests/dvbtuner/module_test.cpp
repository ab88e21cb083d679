// The module as the platform's COM runtime loads it: its two entry points (DllCanUnloadNow
// saying whether it still holds objects), the class factory and VINTOREL_TUNER read at creation.
#include "components/dvbtuner/dvb_tuner_filter.h"
#include "tests/dvbtuner/fake_dvb_device.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <dlfcn.h>
#include <string>

namespace vintorel::dvb {
namespace {

using test::FakeDvb;

class Module : public ::testing::Test {
  protected:
    void SetUp() override {
        FakeDvb::instance().reset();
        handle_ = dlopen(VINTOREL_DVB_MODULE, RTLD_NOW | RTLD_LOCAL);
        ASSERT_NE(handle_, nullptr) << dlerror();
        getClassObject_ = reinterpret_cast<LPFNGETCLASSOBJECT>(dlsym(handle_, "DllGetClassObject"));
        canUnloadNow_ = reinterpret_cast<HRESULT (*)()>(dlsym(handle_, "DllCanUnloadNow"));
        ASSERT_NE(getClassObject_, nullptr);
        ASSERT_NE(canUnloadNow_, nullptr);
        const char *saved = std::getenv("VINTOREL_TUNER");
        savedVariable_ = saved ? std::optional<std::string>(saved) : std::nullopt;
    }
    void TearDown() override {
        if (savedVariable_) {
            setenv("VINTOREL_TUNER", savedVariable_->c_str(), 1);
        } else {
            unsetenv("VINTOREL_TUNER");
        }
        FakeDvb::instance().reset();
        if (handle_ != nullptr) {
            dlclose(handle_);
        }
    }
    IClassFactory *factory() {
        void *object = nullptr;
        EXPECT_EQ(getClassObject_(CLSID_TunerCardFilter, IID_IClassFactory, &object), S_OK);
        return static_cast<IClassFactory *>(object);
    }

    void *handle_ = nullptr;
    LPFNGETCLASSOBJECT getClassObject_ = nullptr;
    HRESULT (*canUnloadNow_)() = nullptr;
    std::optional<std::string> savedVariable_;
};

TEST_F(Module, ServesOnlyTheTunerCardClass) {
    void *object = reinterpret_cast<void *>(1);
    EXPECT_EQ(getClassObject_(IID_IUnknown, IID_IClassFactory, &object), CLASS_E_CLASSNOTAVAILABLE);
    EXPECT_EQ(object, nullptr);
    EXPECT_EQ(getClassObject_(CLSID_TunerCardFilter, IID_IClassFactory, nullptr), E_POINTER);
    EXPECT_EQ(canUnloadNow_(), S_OK) << "it holds nothing";
}

TEST_F(Module, CreatesAFilterOnTheNamedFrontend) {
    FakeDvb::instance().add(1, 0);
    setenv("VINTOREL_TUNER", "dvb:1", 1);
    IClassFactory *classFactory = factory();
    ASSERT_NE(classFactory, nullptr);
    void *object = nullptr;
    ASSERT_EQ(classFactory->CreateInstance(nullptr, IID_TunerBaseFilter, &object), S_OK);
    EXPECT_EQ(canUnloadNow_(), S_FALSE) << "the factory and the filter are alive";
    classFactory->Release();
    EXPECT_EQ(canUnloadNow_(), S_FALSE) << "the filter is alive";
    auto *filter = static_cast<IBaseFilter *>(object);
    void *control = nullptr;
    ASSERT_EQ(filter->QueryInterface(IID_TunerControl, &control), S_OK);
    auto *tuner = static_cast<TunerControl *>(control);
    EXPECT_EQ(tuner->initialize(), S_OK);
    EXPECT_EQ(FakeDvb::instance().openFds().size(), 1u);
    tuner->Release();
    // The program releases until the count reaches zero.
    while (filter->Release() != 0) {
    }
    EXPECT_TRUE(FakeDvb::instance().openFds().empty());
    EXPECT_EQ(canUnloadNow_(), S_OK);
}

TEST_F(Module, AMalformedVariableFailsCreationWithOneLine) {
    const char *values[] = {"dvb:", "dvb:one", "dvb:1.2.3", "dvb:-1", "sim"};
    for (const char *value : values) {
        SCOPED_TRACE(value);
        setenv("VINTOREL_TUNER", value, 1);
        IClassFactory *classFactory = factory();
        ASSERT_NE(classFactory, nullptr);
        void *object = reinterpret_cast<void *>(1);
        ::testing::internal::CaptureStderr();
        const HRESULT hr = classFactory->CreateInstance(nullptr, IID_TunerBaseFilter, &object);
        const std::string printed = ::testing::internal::GetCapturedStderr();
        classFactory->Release();
        EXPECT_TRUE(FAILED(hr));
        EXPECT_EQ(object, nullptr);
        EXPECT_NE(printed.find("VINTOREL_TUNER"), std::string::npos) << printed;
        EXPECT_NE(printed.find(value), std::string::npos) << printed;
        EXPECT_EQ(printed.find('\n'), printed.size() - 1) << "one line: " << printed;
    }
}

TEST_F(Module, UnsetVariableMeansTheFirstCard) {
    FakeDvb::instance().add(0, 0);
    unsetenv("VINTOREL_TUNER");
    void *object = nullptr;
    ASSERT_EQ(createDvbTunerFilter(std::getenv("VINTOREL_TUNER"), IID_TunerControl, &object), S_OK);
    auto *tuner = static_cast<TunerControl *>(object);
    EXPECT_EQ(tuner->initialize(), S_OK);
    EXPECT_EQ(FakeDvb::instance().find("/dev/dvb/adapter0/frontend0")->opens > 0, true);
    EXPECT_EQ(tuner->Release(), 0u);
}

} // namespace
} // namespace vintorel::dvb
