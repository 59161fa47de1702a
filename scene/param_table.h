#pragma once
// The scene parameter table: 77 typed parameters that describe everything a scene looks like. Entry i
// always drives the same thing, whatever its name text says; only the name's first four characters (the
// type prefix "bool", "byte", "word" or "sing") are ever interpreted.
#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>

// A parameter's name text. Names are interned: records of one name share one immutable copy, so a
// preset copy copies no text. A text lives while a record holds it: names that a reload replaced are
// freed with their last record.
class ParamName {
 public:
  ParamName() = default;
  explicit ParamName(std::string_view text);
  const std::string& Text() const { return text_ ? *text_ : Empty(); }
  std::string_view Prefix() const { return std::string_view(Text()).substr(0, 4); }
  bool operator==(const ParamName& other) const { return Text().data() == other.Text().data(); }

 private:
  std::shared_ptr<const std::string> text_;
  static const std::string& Empty();
};

// How many distinct name texts are held now.
size_t ParamNamePoolSize();

struct TScene1ParamInterface {
  ParamName Name;       // "byte:BG_r": four-character type prefix, colon, parameter name
  float BaseVal = 0;    // base value; integer types round it
  uint8_t OscForm = 0;  // oscillator form 0..6; above 6 acts as 0
  float Osc1 = 0;       // x: angular frequency, radians per ms of effect time
  float Osc2 = 0;       // y: amplitude
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
