// TUlmoArqPRGerarBase: one TCE-PR "|"-separated file. The base fixes what all files share
// (folder, name + ".txt", the one record of LayoutsPR_U) and streams the lines into the output it
// is given through the layout engine; each generator opens its data, writes its lines and closes.
// A value that does not fit its field is ENaoCabe, naming the file, the account, the field and
// the value. Without an output the file appears atomically, only when complete.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "Currency_U.h"
#include "Leiaute_U.h"
#include "LayoutsPR_U.h"
#include "SQL_U.h"
#include "UlmoArqPRControleDados_U.h"

namespace nUlmoPR {

class TUlmoArqPRGerarBase {
 public:
  // The class name and file name are kept here: the destructor reports them after the
  // generator's own part is gone.
  TUlmoArqPRGerarBase(std::string_view AClassName, std::string ANomeArquivo)
      : FClassName(AClassName), FNomeArquivo(std::move(ANomeArquivo)) {}
  virtual ~TUlmoArqPRGerarBase();
  TUlmoArqPRGerarBase(const TUlmoArqPRGerarBase&) = delete;
  TUlmoArqPRGerarBase& operator=(const TUlmoArqPRGerarBase&) = delete;

  TUlmoArqPRControleDados* ControleDados = nullptr;  // not owned

  // Writes the file into the output, or into the PastaDestino of ControleDados; raises on any
  // failure, leaving no file.
  // REQUIRES: ControleDados is set; a connection is open.
  void GerarArquivo();
  virtual std::string NomeArquivo() const { return FNomeArquivo; }
  const std::string& ClassName() const { return FClassName; }
  std::string NomeArquivoComExtensao() const { return NomeArquivo() + ".txt"; }
  std::string NomeArquivoCompleto() const;

  // Tests: the output to render into instead of the file (not owned).
  void SetSink(nFramework::IOutputSink* ASink) { FSink = ASink; }

 protected:
  virtual const nFramework::TLeiaute& Leiaute() const = 0;
  virtual void AbrirDados() = 0;
  // Writes every line of the file.
  virtual void EscreverLinhas(nFramework::TEscritorLeiaute& AEscritor) = 0;
  virtual void FecharDados() {}

  std::unique_ptr<nFramework::TSQLDataSet> AbrirConsulta(std::string_view ASQL, const nFramework::TValores& AValores,
                                                         bool AFlag);

 private:
  std::string FClassName;
  std::string FNomeArquivo;
  nFramework::IOutputSink* FSink = nullptr;
};

// Value rules shared by the files.
// "D" for 1, "C" for 2, "X" otherwise.
std::string LetraNatureza(int ANatureza);
// "#0.00" with "." as decimal point, half away from zero: 1234.5 gives "1234.50", 0.125 "0.13".
std::string FormatarValor(nFramework::Currency AValor);
// The classification's parts, in order, as the level fields of the line (an empty one for a
// level without a part); further parts are ignored.
void EscreverNiveis(nFramework::TLinha& ALinha, std::string_view AClassif, int ANiveis);
// The month as two digits.
std::string FormatarMes(nFramework::TDateTime AData);
// The classification without its points, as a 64-bit integer; raises EConvertError otherwise.
int64_t ContaSemPontos(std::string_view AClassif);

}  // namespace nUlmoPR
