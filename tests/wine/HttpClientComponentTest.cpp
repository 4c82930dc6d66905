// The window's HTTP client component: created with the window, after the timer; when the socket
// library cannot start, the window is not created at all.
#include "Form1Fixture.h"
#include "rtl/Exceptions.h"

#include <memory>

namespace {

class ScopedSocketLayerFactory {
public:
    explicit ScopedSocketLayerFactory(SocketLayerFactory factory)
        : previous_(ReplaceSocketLayerFactory(std::move(factory))) {}
    ~ScopedSocketLayerFactory() { ReplaceSocketLayerFactory(std::move(previous_)); }
    ScopedSocketLayerFactory(const ScopedSocketLayerFactory&) = delete;
    ScopedSocketLayerFactory& operator=(const ScopedSocketLayerFactory&) = delete;

private:
    SocketLayerFactory previous_;
};

class HttpClientComponentTest : public Form1Fixture {
protected:
    FakeTimers timers;
    ScopedTimers useTimers{timers};
};

TEST_F(HttpClientComponentTest, TheClientStartsTheSocketLibraryWhenTheWindowIsCreated) {
    int started = 0;
    ScopedSocketLayerFactory sockets([&] {
        ++started;
        return http::MakeSystemSocketLayer();
    });
    CreateForm1();
    EXPECT_EQ(started, 1);
    ASSERT_NE(Form1->IdHTTP1, nullptr);
    EXPECT_EQ(Form1->IdHTTP1->Name(), "IdHTTP1");
    EXPECT_EQ(Form1->IdHTTP1->Owner(), Form1);
}

TEST_F(HttpClientComponentTest, ASocketLibraryThatCannotStartFailsTheWindowsCreation) {
    ScopedSocketLayerFactory sockets([]() -> std::shared_ptr<http::SocketLayer> {
        throw rtl::Exception("Winsock Initialization Error.");
    });
    application.Initialize();
    try {
        application.CreateForm(Form1);
        FAIL() << "CreateForm went through without sockets";
    } catch (const rtl::Exception& error) {
        EXPECT_STREQ(error.what(), "Winsock Initialization Error.");
    }
    EXPECT_EQ(Form1, nullptr);
    EXPECT_EQ(application.MainForm(), nullptr);
    EXPECT_EQ(FindWindowW(L"TForm1", nullptr), nullptr);
    // Timer1, created before the client, was armed and is disarmed again.
    ASSERT_EQ(timers.calls.size(), 2u);
    EXPECT_TRUE(timers.calls.front().arm);
    EXPECT_FALSE(timers.calls.back().arm);
    EXPECT_TRUE(boxes.shown.empty()) << "FormCreate never ran";
}

} // namespace
