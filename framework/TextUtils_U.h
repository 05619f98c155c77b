// The framework's text functions for court files: padding, fixed widths, cleaning of
// numbers and tax ids, entry histories and account classifications.
//
// Texts are UTF-8 in memory and every width or length here counts characters, not bytes
// ("São" is 3), because the court files are written one byte per character.
// Choices fixed here:
// - PreencherEsquerda/PreencherDireita never cut: a text as long as the width or longer
//   comes back unchanged. An empty fill means a blank; a fill of several characters is
//   repeated from its start and cut so that the result has exactly the width.
// - FmtNumero zero-fills on the left to exactly the width; a leading "-" stays in front of
//   the zeros ("-0012.50"). A longer text keeps its rightmost `width` characters (the units,
//   not the thousands), so callers that must not lose digits check CabeNoCampo first.
// - FmtTexto aligns on the left, fills with blanks and cuts to exactly the width.
// - Classifications are levels separated by "."; a level "all zeros" is one made only of "0".
#pragma once
#include <string>
#include <string_view>

namespace nFramework {

size_t Utf8Length(std::string_view text);
// The first `count` characters, never splitting one.
std::string Utf8Left(std::string_view text, size_t count);
// The last `count` characters, never splitting one.
std::string Utf8Right(std::string_view text, size_t count);
// Whether the text fits a field of that width without being cut.
bool CabeNoCampo(std::string_view text, int width);

std::string PreencherEsquerda(std::string_view text, int width, std::string_view fill = " ");
std::string PreencherDireita(std::string_view text, int width, std::string_view fill = " ");
std::string FmtNumero(std::string_view text, int width);
std::string FmtTexto(std::string_view text, int width);

// The digits of the text, in order; the fallback when it has none ("-1.234,50" gives "123450").
std::string LimparStrToInteger(std::string_view text, std::string_view fallback);
// The digits of a CPF or CNPJ as typed ("12.345.678/0001-90" gives "12345678000190").
std::string LimparStrToInscricaoFederal(std::string_view text, std::string_view fallback);
// Letters (accented ones too) and digits; blanks as well when keepBlanks; and any character
// listed in keepAlso. The fallback when nothing is left.
std::string LimparStrToAlphaNumeric(std::string_view text, std::string_view fallback, bool keepBlanks = false,
                                    std::string_view keepAlso = {});

// An entry's history: the history's description, a blank and the complement, trimmed.
std::string MontarHist(std::string_view description, std::string_view complement);
// Half away from zero on the decimal digits: RoundValor(2.675, 2) is 2.68.
double RoundValor(double value, int decimals);

int QtdNiveis(std::string_view classif);         // "" has 0 levels
int QtdNiveisSemZero(std::string_view classif);  // "1.1.2.00.000" has 3
// "1.1.2" gives "1.1"; a single level gives "".
std::string RetirarUltimoNivelClassificacao(std::string_view classif);
// The synthetic parent: the last level that is not all zeros is taken away. In a
// classification written to the full mask (zero levels after it, or as many levels as
// `mask`, the court chart's mask, when given) it becomes zeros of the same width, keeping
// the mask: "1.1.2.00" gives "1.1.0.00"; otherwise it is dropped: "1.1.2" gives "1.1".
// The first level has no parent: "1", "1.0.00" and "" give "".
std::string PegarContaSinteticaSuperior(std::string_view classif, std::string_view mask = {});

// Applies an edit mask "body;save;blank" as the platform's edit controls do. Body: "0" and
// "9" digits, "L"/"l" letters, "A"/"a" letters or digits, "C"/"c" any character, "#"
// digits or signs (each takes the next character of the text, unchecked); ">" and "<"
// turn the following characters to upper or lower case, "<>" stops that, "!" is ignored;
// "\x" is the literal x, "_" a blank, anything else a literal. Save "0" means the text has
// no literals; otherwise literals in the text are skipped where the mask has them.
// Positions left without a character get the blank character (default "_"); characters
// beyond the mask are appended. FormatMaskText("9.9.9.99.99;0;0", "1123") is "1.1.2.30.00".
std::string FormatMaskText(std::string_view mask, std::string_view text);

}  // namespace nFramework
