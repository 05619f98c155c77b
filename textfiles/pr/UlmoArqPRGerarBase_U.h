// TUlmoArqPRGerarBase: one TCE-PR "|"-separated file. The base owns the writer for the time of
// one file and fixes what all files share (folder, name + ".txt", the single record "REC" ending
// in the empty field "Fim"); each generator declares its fields, opens its data, tests and fills
// each row, advances and closes. The file appears atomically, only when complete.
#pragma once
#include <memory>
#include <string>
#include <string_view>

#include "Currency_U.h"
#include "Exceptions_U.h"
#include "GeneratorFile_U.h"
#include "SQL_U.h"
#include "UlmoArqPRControleDados_U.h"

namespace nUlmoPR {

// An amount wider than its field. A cut amount would be a wrong one sent as right: the run
// stops and writes none of its files.
class EValorNaoCabePR : public nFramework::Exception {
 public:
  EValorNaoCabePR(const std::string& AArquivo, const std::string& AConta, const std::string& ACampo,
                  const std::string& AValor, int ALargura);
};

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

  // Writes the file into the PastaDestino of ControleDados; raises on any failure, leaving no file.
  // REQUIRES: ControleDados is set; a connection is open.
  void GerarArquivo();
  virtual std::string NomeArquivo() const { return FNomeArquivo; }
  const std::string& ClassName() const { return FClassName; }
  std::string NomeArquivoComExtensao() const { return NomeArquivo() + ".txt"; }
  std::string NomeArquivoCompleto() const;

  // Tests: the output to render into instead of the file (not owned).
  void SetSink(nFramework::IOutputSink* ASink) { FSink = ASink; }

 protected:
  // skip = true when the current row yields no line.
  virtual void PrepararRegistro(nFramework::TRecord& ARecord, bool& ASkip) = 0;
  // more = true while the dataset has a current row after the move.
  virtual void ProximoRegistro(nFramework::TRecord& ARecord, bool& AMore) = 0;
  virtual void DefinirCampos() = 0;
  virtual void PreencherCampos() = 0;
  virtual void AbrirDados() = 0;
  virtual void FecharDados() {}

  std::unique_ptr<nFramework::TSQLDataSet> AbrirConsulta(std::string_view ASQL, const nFramework::TValores& AValores,
                                                         bool AFlag);

  // The field kinds of the records.
  void CampoTexto(const std::string& ANome, int AWidth);
  void CampoNumerico(const std::string& ANome, int AWidth);
  void CampoMoeda(const std::string& ANome, int AWidth);
  void CampoData(const std::string& ANome, const std::string& AFormato, int AWidth);
  void CampoFim() { CampoTexto("Fim", 0); }
  // The money text of the value (FormatarValor) into its field; raises EValorNaoCabePR naming
  // this file, the account, the field and the value when it is wider than the field.
  void DefinirValor(nFramework::TColuna* AColuna, nFramework::Currency AValor, const std::string& AConta) const;

  std::unique_ptr<nFramework::TGeneratorFile> FGeradorArquivo;
  nFramework::TRecord* FRecord = nullptr;

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
// The month as two digits.
std::string FormatarMes(nFramework::TDateTime AData);
// The classification's parts, in order, into the given level columns (nullptr ones are skipped);
// further parts are ignored and levels without a part are left empty.
void PreencherNiveis(std::string_view AClassif, std::initializer_list<nFramework::TColuna*> ANiveis);
// The classification without its points, as a 64-bit integer; raises EConvertError otherwise.
int64_t ContaSemPontos(std::string_view AClassif);

}  // namespace nUlmoPR
