#pragma once
// The decisions of the numeric field (text field, arrow pair, position bar): what typed
// text does to the value and the text, the reset value, the arrows with Shift and Ctrl,
// and the bar. The window layer shows the result; a test drives it without a window.
#include <cstdint>
#include <string>

namespace ov {

class NumericField {
 public:
  // Values are 16-bit signed whole numbers.
  NumericField(int16_t minimum, int16_t maximum, int16_t resetValue, int16_t step = 1);

  int16_t Minimum() const { return min_; }
  int16_t Maximum() const { return max_; }
  int16_t ResetValue() const { return reset_; }
  int16_t Step() const { return step_; }
  void SetStep(int16_t step) { step_ = step > 0 ? step : 1; }

  // The arrow pair's position: the field's value.
  int16_t Position() const { return pos_; }
  // The text the field shows.
  const std::string& Text() const { return text_; }
  // Shown in bold: the value equals the reset value.
  bool Bold() const { return bold_; }
  // The bar spans the field's range and shows the last number that parsed.
  int16_t BarPosition() const { return barPos_; }

  // Edit1Change: the text was changed (typed, or set by the field itself). Trims blanks,
  // parses, clamps to the range (writing the limit into the text), writes non-zero
  // numbers in their plain form ("007" -> "7") and sets bold. Text that does not parse
  // (empty, "-", letters) changes nothing but the text. Returns true when a number parsed.
  bool TextChanged(const std::string& typed);
  // Sets the position from code: the text becomes the number and is handled as typed.
  void SetPosition(int32_t value);
  // Edit1Exit: leaving the field writes the position back, replacing unparsed text.
  void Exit() { text_ = std::to_string(pos_); }
  // Right-button press on any part: back to the reset value.
  void Reset() { SetPosition(reset_); }
  // One arrow step; Shift first jumps to the end of the range the arrow points to, Ctrl
  // first moves 9 further in its direction (so with step 1 a click moves by 10).
  void Arrow(bool up, bool shift, bool ctrl);
  // The bar pressed or dragged at x of a bar `width` wide: minimum + round(x / width *
  // (maximum - minimum)), clamped like typed text when the mouse has left the bar.
  void BarAt(int32_t x, int32_t width);

 private:
  int16_t Clamp16(int64_t v) const;

  int16_t min_, max_, reset_, step_;
  int16_t pos_;
  int16_t barPos_;
  std::string text_;
  bool bold_ = false;
};

}  // namespace ov
