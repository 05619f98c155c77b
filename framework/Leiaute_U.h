// The one layout engine of the court text files. A record is a table of fields (TLeiaute)
// declared once per court in its Layouts..._U unit; TEscritorLeiaute renders lines of those
// records into an output sink, in Windows-1252 with CRLF, either fixed-width or delimited.
// A value that does not fit is never cut in silence: ENaoCabe names the file, the record, the
// account, the field and the value.
#pragma once
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "AtomicFile_U.h"
#include "Currency_U.h"
#include "DateUtils_U.h"
#include "Exceptions_U.h"

namespace nFramework {

enum class TTipoCampo {
  Texto,   // UTF-8 text, cut to the width (in characters) unless the field says otherwise
  Numero,  // an integer or a code given as digits; never cut
  Data,    // a date in the field's date format
  Valor,   // money in the field's money format; never cut
};

// How a court writes money. Every format rounds half away from zero to the cent.
enum class TFormatoValor {
  Ponto,     // "1234.56"
  Virgula,   // "1234,56"
  Centavos,  // "123456": hundredths without a separator
};

enum class TFormatoData {
  AAAAMMDD,    // "20240131"
  DDMMAAAA,    // "31012024"
  DD_MM_AAAA,  // "31/01/2024"
  AAAA_MM_DD,  // "2024-01-31"
};

// Padrao: text on the left, numbers and money on the right.
enum class TAlinhamento { Padrao, Esquerda, Direita };

struct TCampo {
  const char* Nome;
  int Largura = 0;  // characters; 0 (delimited records only): the value as it is
  TTipoCampo Tipo = TTipoCampo::Texto;
  // '\0': zeros for numbers and money, blanks for text and dates. In a delimited record a field
  // is filled only when its fill is given (zero-filled codes between separators).
  char Preenchimento = '\0';
  TAlinhamento Alinhamento = TAlinhamento::Padrao;
  TFormatoValor FormatoValor = TFormatoValor::Ponto;
  TFormatoData FormatoData = TFormatoData::AAAAMMDD;
  bool Corta = true;   // text longer than the width is cut; false: it is ENaoCabe
  bool Sinal = false;  // numbers and money: a negative is written with "-" before the zeros;
                       // false: a negative is refused (the court's field has no sign)
};

// One record of a court file: its fields in line order.
struct TLeiaute {
  const char* Nome;
  std::vector<TCampo> Campos;
  std::string Separador = {};     // empty: fixed width
  bool SeparadorNoFim = false;    // delimited lines end with the separator too
  // The length of a fixed-width line.
  int Largura() const;
  bool LarguraFixa() const { return Separador.empty(); }
};

// Money as the court format writes it: "-" before a negative, two decimals rounded half away
// from zero ("0.125" is "0.13"), no thousands separator, no fill.
std::string FormatarValor(Currency valor, TFormatoValor formato);
void AcrescentarValor(std::string& saida, Currency valor, TFormatoValor formato);

// A value that does not fit its field, or a negative in a field without sign.
class ENaoCabe : public Exception {
 public:
  ENaoCabe(std::string arquivo, std::string registro, std::string conta, std::string campo, std::string valor,
           int largura, bool negativo);
  std::string Arquivo, Registro, Conta, Campo, Valor;
  int Largura;
  bool Negativo;
};

class TEscritorLeiaute;

// The line being written; fields are given in the record's order. Obtained from
// TEscritorLeiaute::Linha and valid until Gravar or the writer's next Linha.
class TLinha {
 public:
  TLinha& Texto(std::string_view utf8);
  TLinha& Numero(int64_t valor);
  // A code already in digits ("0012"): filled, never cut.
  TLinha& Numero(std::string_view digitos);
  TLinha& Data(TDateTime data);
  TLinha& Data(int ano, int mes, int dia);
  TLinha& Valor(Currency valor);
  // A field left empty: blanks in a fixed-width record, nothing in a delimited one.
  TLinha& Vazio();
  // Ends the line with CRLF. REQUIRES: every field given.
  void Gravar();

 private:
  friend class TEscritorLeiaute;
  explicit TLinha(TEscritorLeiaute& escritor) : FEscritor(escritor) {}
  const TCampo& Proximo(TTipoCampo tipo);
  void NumeroTexto(const TCampo& campo, std::string_view digitos);
  void Preencher(const TCampo& campo, std::string_view valor, bool numero);
  [[noreturn]] void NaoCabe(const TCampo& campo, std::string_view valor, bool negativo);

  TEscritorLeiaute& FEscritor;
  const TLeiaute* FLeiaute = nullptr;
  std::string_view FConta;
  size_t FCampo = 0;
  size_t FInicio = 0;
};

// Renders the lines of one file into a sink, in blocks. Lines stream as they are given: memory
// holds one block, never the file. The sink is not committed here: the file (or the file set
// it belongs to) is committed by its owner after Concluir.
class TEscritorLeiaute {
 public:
  // `arquivo` names the file in messages. REQUIRES: the sink outlives the writer.
  TEscritorLeiaute(IOutputSink& saida, std::string arquivo);
  TEscritorLeiaute(const TEscritorLeiaute&) = delete;
  TEscritorLeiaute& operator=(const TEscritorLeiaute&) = delete;

  // Starts a line of that record; `conta` is the account (or entry) the line belongs to, for
  // messages. REQUIRES: the layout and the account's text outlive the line; the last line was
  // written with Gravar or failed.
  TLinha& Linha(const TLeiaute& leiaute, std::string_view conta = {});
  // Writes what is still in the block into the sink.
  void Concluir();

  const std::string& Arquivo() const { return FArquivo; }
  int64_t Linhas() const { return FLinhas; }
  uint64_t Bytes() const { return FBytes; }

 private:
  friend class TLinha;
  void Descarregar();

  IOutputSink& FSaida;
  std::string FArquivo;
  std::string FBloco;
  TLinha FLinha{*this};
  int64_t FLinhas = 0;
  uint64_t FBytes = 0;
};

}  // namespace nFramework
