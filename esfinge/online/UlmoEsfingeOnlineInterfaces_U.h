// Interfaces of the e-Sfinge online services. Services are shared objects created by the
// factory; setters return the service itself so that calls chain:
//   Factory()->CancelarLote()->Config(c).Dados(d).Executar();
#pragma once
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "ClientDataSet_U.h"
#include "ControleMensagem_U.h"
#include "Progresso_U.h"
#include "UlmoEsfingeOnlineClasses_U.h"
#include "UlmoEsfingeOnlineRecord_U.h"

namespace nUlmoEsfingeOnline {

class IGerarToken {
 public:
  virtual ~IGerarToken() = default;
  virtual IGerarToken& Config(const TRecConfig& AConfig) = 0;
  // Logs in, stores the token as the company's last one and returns it.
  virtual std::string Token() = 0;
};

class ILoteEnviado {
 public:
  virtual ~ILoteEnviado() = default;
  virtual ILoteEnviado& Config(const TRecConfig& AConfig) = 0;
  virtual ILoteEnviado& Dados(const TRecDadosEnvio& ADados) = 0;
  virtual ILoteEnviado& Gravar() = 0;
  virtual ILoteEnviado& AtualizarStatus() = 0;
};

// One month's package as the partial send takes it: the JSON text inside "[" and "]".
struct TLoteJson {
  int AnoMes = 0;
  std::string Corpo;
  int QuantidadeContas = 0;
  int QuantidadeLancamentos = 0;
  std::string_view Json() const { return std::string_view(Corpo).substr(1, Corpo.size() - 2); }
};

class IGerarDadosEnvio {
 public:
  virtual ~IGerarDadosEnvio() = default;
  virtual IGerarDadosEnvio& Config(const TRecConfig& AConfig) = 0;
  // Neither dataset is owned; both must outlive the generator's use.
  virtual IGerarDadosEnvio& DataSets(nFramework::TClientDataSet& ACdsContaCtb, nFramework::TClientDataSet& ACdsLctoCtb) = 0;
  // Executar also fills this list with every package, typed (the whole period in memory).
  virtual IGerarDadosEnvio& Lista(std::vector<TEnvioLote>& AListaEnvioLote) = 0;
  // Reads the accounts and finds the months that have entries.
  virtual IGerarDadosEnvio& Executar() = 0;
  // The months of Executar's packages, in order.
  virtual const std::vector<int>& Meses() const = 0;
  // Writes the package of one of Meses(). REQUIRES: Executar ran; the datasets are unchanged.
  virtual TLoteJson Lote(int AAnoMes) = 0;
};

class IEnviarInfoContabil {
 public:
  virtual ~IEnviarInfoContabil() = default;
  virtual IEnviarInfoContabil& Config(const TRecConfig& AConfig) = 0;
  virtual IEnviarInfoContabil& DataSets(nFramework::TClientDataSet& ACdsContaCtb,
                                        nFramework::TClientDataSet& ACdsLctoCtb) = 0;
  virtual IEnviarInfoContabil& MsgTree(std::shared_ptr<nFramework::ITreeMessager> AMsgTree) = 0;
  virtual IEnviarInfoContabil& Progresso(nFramework::TnFraProgresso& AProgresso) = 0;
  virtual void Enviar() = 0;
};

class ICancelarLote {
 public:
  virtual ~ICancelarLote() = default;
  virtual ICancelarLote& Config(const TRecConfig& AConfig) = 0;
  virtual ICancelarLote& Dados(const TRecDadosEnvio& ADados) = 0;
  virtual void Executar() = 0;
};

class IFactory {
 public:
  virtual ~IFactory() = default;
  virtual std::shared_ptr<IEnviarInfoContabil> EnviarInfoContabil() = 0;
  virtual std::shared_ptr<IGerarToken> GerarToken() = 0;
  virtual std::shared_ptr<IGerarDadosEnvio> GerarDadosEnvio() = 0;
  virtual std::shared_ptr<ILoteEnviado> LoteEnviado() = 0;
  virtual std::shared_ptr<ICancelarLote> CancelarLote() = 0;
};

}  // namespace nUlmoEsfingeOnline
