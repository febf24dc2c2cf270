// Cost of the engine's polling: one trigger tick (every 50 ms) and one armed scan tick (as often as the timer allows
// while armed), against a key state that only reads an array; the queries per tick are counted.
#include "engine/engine.h"

#include <array>
#include <chrono>
#include <cstdint>
#include <cstdio>

namespace {

class IdleKeyboard final : public ww::KeyState {
public:
    std::uint16_t asyncKeyState(int code) override {
        ++queries;
        return state_[static_cast<std::size_t>(code) & 0xFF];
    }
    long queries = 0;

private:
    std::array<std::uint16_t, 256> state_{}; // nothing pressed: every query answers 0
};

class CountingPlayer final : public ww::KeystrokePlayer {
public:
    void play(std::span<const ww::KeyAction> actions) override { characters += actions.size(); }
    void playCharacters(std::wstring_view text) override { characters += text.size(); }
    std::size_t characters = 0;
};

class PlainTimer final : public ww::Timer {
public:
    explicit PlainTimer(bool on) : on_(on) {}
    void setEnabled(bool on) override { on_ = on; }
    bool enabled() const override { return on_; }

private:
    bool on_;
};

template <typename Tick> double nanosPerTick(long ticks, Tick tick) {
    const auto start = std::chrono::steady_clock::now();
    for (long i = 0; i < ticks; ++i)
        tick();
    const std::chrono::duration<double, std::nano> elapsed = std::chrono::steady_clock::now() - start;
    return elapsed.count() / static_cast<double>(ticks);
}

} // namespace

int main() {
    constexpr long kTicks = 1'000'000;
    IdleKeyboard keys;
    CountingPlayer player;
    PlainTimer timer1{true};
    PlainTimer timer2{false};
    ww::AssignmentTable table;
    ww::Engine engine{keys, player, timer1, timer2, table};

    const double trigger = nanosPerTick(kTicks, [&] { engine.onTimer1Tick(); });
    const long triggerQueries = keys.queries / kTicks;
    keys.queries = 0;
    timer1.setEnabled(false);
    timer2.setEnabled(true);
    const double scan = nanosPerTick(kTicks, [&] { engine.onTimer2Tick(); });
    const long scanQueries = keys.queries / kTicks;

    std::printf("trigger tick (%ld queries): %8.1f ns/tick, %.5f %% of the 50 ms interval\n", triggerQueries, trigger,
                trigger / 50e6 * 100.0);
    std::printf("armed scan tick (%ld queries, nothing pressed): %8.1f ns/tick, %.5f %% of the 10 ms timer step\n",
                scanQueries, scan, scan / 1e7 * 100.0);
    std::printf("(%ld ticks each; fake key state, so the real GetAsyncKeyState cost comes on top; typed %zu)\n", kTicks,
                player.characters);
    return 0;
}
