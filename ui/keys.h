// Key codes of key-down events: the virtual-key numbers of the desktop platform the windows were
// designed for, so that a handler reads like its design (0x25 is the Left arrow, 0x30 the main 0 key).
#pragma once

namespace xp::ui::key {

inline constexpr int Back = 0x08;
inline constexpr int Tab = 0x09;
inline constexpr int Return = 0x0D;
inline constexpr int Shift = 0x10;
inline constexpr int Control = 0x11;
inline constexpr int Alt = 0x12;
inline constexpr int Escape = 0x1B;
inline constexpr int Space = 0x20;
inline constexpr int PageUp = 0x21;
inline constexpr int PageDown = 0x22;
inline constexpr int End = 0x23;
inline constexpr int Home = 0x24;
inline constexpr int Left = 0x25;
inline constexpr int Up = 0x26;
inline constexpr int Right = 0x27;
inline constexpr int Down = 0x28;
inline constexpr int Insert = 0x2D;
inline constexpr int Delete = 0x2E;
inline constexpr int D0 = 0x30;       // '0' .. '9' are 0x30 .. 0x39
inline constexpr int A = 0x41;        // 'A' .. 'Z' are 0x41 .. 0x5A
inline constexpr int Numpad0 = 0x60;  // keypad 0 .. 9 are 0x60 .. 0x69
inline constexpr int F1 = 0x70;       // F1 .. F12 are 0x70 .. 0x7B

}  // namespace xp::ui::key
