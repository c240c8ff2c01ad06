#pragma once
// Control identifiers: each designer name maps to one number, unique in the
// whole window, so that a control can be found by its name's number.
namespace ids {

constexpr int PageControl1 = 100;
constexpr int TabSheet(int n) { return 200 + n; }
constexpr int Memo(int n) { return 1000 + n; }
constexpr int Button(int n) { return 2000 + n; }
constexpr int Label(int n) { return 3000 + n; }
constexpr int ListView(int n) { return 4000 + n; }
constexpr int ListBox(int n) { return 5000 + n; }

}  // namespace ids
