#pragma once
// The scene parameter table: 77 typed parameters that describe everything a scene looks like. Entry i
// always drives the same thing, whatever its name text says; only the name's first four characters (the
// type prefix "bool", "byte", "word" or "sing") are ever interpreted.
#include <array>
#include <cstdint>
#include <string>
#include <string_view>

// A parameter's name text. Names are interned: the record holds a pointer to one shared, immutable copy,
// so records copy as plain bytes (a whole preset copy allocates nothing).
class ParamName {
 public:
  ParamName() = default;
  explicit ParamName(std::string_view text);
  const std::string& Text() const { return *text_; }
  std::string_view Prefix() const { return std::string_view(*text_).substr(0, 4); }
  bool operator==(const ParamName& other) const { return text_ == other.text_; }

 private:
  const std::string* text_ = &Empty();
  static const std::string& Empty();
};

struct TScene1ParamInterface {
  ParamName Name;      // "byte:BG_r": four-character type prefix, colon, parameter name
  float BaseVal = 0;   // base value; integer types round it
  uint8_t OscForm = 0; // oscillator form 0..6; above 6 acts as 0
  float Osc1 = 0;      // x: angular frequency, radians per ms of effect time
  float Osc2 = 0;      // y: amplitude
};

inline constexpr int kParamCount = 77;
using TScene1ParamIArray = std::array<TScene1ParamInterface, kParamCount>;

// Indices of the entries the code treats specially.
inline constexpr int kReRenderSprite2Index = 57;  // written as a byte, evaluated as a bool

TScene1ParamInterface SetParam(std::string_view name, uint8_t oscForm, float baseVal, float osc1, float osc2);

// The default table: every entry set, in index order, to its built-in default.
TScene1ParamIArray InitParamTable();

enum class ParamType { Bool, Byte, Word, Sing, Other };
// The type named by the prefix of a name text.
ParamType TypeOfName(const ParamName& name);
// The type entry `index` (0..76) is evaluated with: its table type, entry 57 as a bool.
ParamType EvaluationType(int index);
// The name without its type prefix ("BG_r" for "byte:BG_r").
std::string_view ShortName(const ParamName& name);
