#pragma once
// Text <-> number conversions and the key rules shared by every entry field.
// Pure functions on texts: no widgets here, so pages and tests share them.

#include <QChar>
#include <QString>

namespace qv {

// Empty or invalid text gives 0; never fails.
double ParseReal(const QString& text);

// Fixed point with '.', halves (of the exact binary value) rounded away from zero,
// a '-' on every negative value, left-padded with spaces to width.
QString FormatReal(int width, int decimals, double value);

// Shorthands used by every calculation.
inline QString F1(double v) { return FormatReal(0, 1, v); }
inline QString F0(double v) { return FormatReal(0, 0, v); }

enum class RealFamily { Positive, Signed };

// What a key filter does with one typed character.
struct KeyVerdict {
    enum Kind { Accept, Discard, Refuse } kind = Discard;
    QChar ch;  // the character to insert, for Accept
    static KeyVerdict accept(QChar c) { return {Accept, c}; }
    static KeyVerdict discard() { return {Discard, {}}; }
    static KeyVerdict refuse() { return {Refuse, {}}; }
};

inline constexpr char16_t kBackspace = 8;

KeyVerdict FilterRealKey(const QString& currentText, RealFamily family, QChar key);
KeyVerdict FilterIntegerKey(QChar key);
KeyVerdict FilterNameKey(QChar key);

QString RealRefusalText(RealFamily family);
QString IntegerRefusalText();
QString NameRefusalText();

// Completion of a decimal field's text when the field is left.
QString NormaliseRealText(const QString& text, RealFamily family);

// Curve of Spee is always a requirement: a non-empty text without '-' gets one in front.
QString ForceNegative(const QString& text);

// Molar correction: the warning to show for the checked class, or an empty text.
QString MolarCorrectionWarning(const QString& text, bool classII, bool classIII);

}  // namespace qv
