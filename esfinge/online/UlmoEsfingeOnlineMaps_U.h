// Column maps the online client reads: the grids' accounts and entries (shared with the SOAP
// sender) and the receipts list of the consultation, bound by FieldMapper.
#pragma once
#include "ClientDataSet_U.h"
#include "MapClass_U.h"
#include "UlmoEsfingeMaps_U.h"

namespace nUlmoEsfingeOnline {

using nFramework::TField;
using nUlmoEsfingeMaps::TMapContas;
using nUlmoEsfingeMaps::TMapLctos;

ULMO_MAP_CLASS(TMapDadosEnviados, TField, SELECIONADO, CODIGOEMPRESA, COMPETENCIA, LOTE, SEQ, DATAENVIO, STATUS,
               CHAVEPACOTE, CODIGOREGISTROINFORMACAO);

}  // namespace nUlmoEsfingeOnline
