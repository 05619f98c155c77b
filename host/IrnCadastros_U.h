// The registration module's register and lookups that the court module opens by name:
// companies (TirnDMEmpresa, TirnDCEmpresa), establishments, banks, bank branches, operation
// codes (CFOP) and states. Loading the unit also points the dictionary's state entry at its
// lookup.
#pragma once
#include <string>

#include "DMClientDataSet_U.h"

namespace nHost {

class TirnDMEmpresa : public nFramework::TnDMClientDataSet {
  N_CLASSE(TirnDMEmpresa)
 public:
  TirnDMEmpresa();
  std::string ChavePrimaria() const override { return "CODIGOEMPRESA"; }
};

class TirnDCEmpresa : public TirnDMEmpresa {
  N_CLASSE(TirnDCEmpresa)
 public:
  TirnDCEmpresa();
  int PegarTipoObjeto() const override { return 2; }
  // The name of a company; raises "Código da empresa inválido!" for a code with no company.
  // REQUIRES: a connection is open.
  static std::string NomeEmpresa(int aCodigoEmpresa);
};

class TirnDCEstab : public nFramework::TnDMClientDataSet {
  N_CLASSE(TirnDCEstab)
 public:
  TirnDCEstab();
  std::string ChavePrimaria() const override { return "CODIGOEMPRESA;CODIGOESTAB"; }
  int PegarTipoObjeto() const override { return 2; }
};

class TirnDCBanco : public nFramework::TnDMClientDataSet {
  N_CLASSE(TirnDCBanco)
 public:
  TirnDCBanco();
  std::string ChavePrimaria() const override { return "CODIGOBANCO"; }
  int PegarTipoObjeto() const override { return 2; }
};

class TirnDCAgencia : public nFramework::TnDMClientDataSet {
  N_CLASSE(TirnDCAgencia)
 public:
  TirnDCAgencia();
  std::string ChavePrimaria() const override { return "CODIGOBANCO;NUMEROAGENCIA"; }
  int PegarTipoObjeto() const override { return 2; }
};

class TirnDCCFOP : public nFramework::TnDMClientDataSet {
  N_CLASSE(TirnDCCFOP)
 public:
  TirnDCCFOP();
  std::string ChavePrimaria() const override { return "CODIGOEMPRESA;CODIGOESTAB;CODIGOCFOP"; }
  int PegarTipoObjeto() const override { return 2; }
};

class TirnDCEstado : public nFramework::TnDMClientDataSet {
  N_CLASSE(TirnDCEstado)
 public:
  TirnDCEstado();
  std::string ChavePrimaria() const override { return "SIGLAESTADO"; }
  int PegarTipoObjeto() const override { return 2; }
};

}  // namespace nHost
