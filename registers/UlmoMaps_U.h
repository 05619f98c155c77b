// Map classes of the TCE-PR datasets and output records: members named after dataset columns
// (bound by FieldMapper) or record fields (bound by RecordMapper).
#pragma once
#include "ClientDataSet_U.h"
#include "GeneratorFile_U.h"
#include "MapClass_U.h"

namespace nUlmoMaps {

using nFramework::TColuna;
using nFramework::TField;

// Dataset rows.
ULMO_MAP_CLASS(TMapSaldoTCE, TField, DATASALDO, CLASSIFCONTA, DESCRICAO, NATUREZA, SUPERAVITFINANC, ESCRITURACAO,
               CONTACTB, SALDOANTERIOR, DEBITO, CREDITO, IDENTIFIPATQUALITATIVA);
ULMO_MAP_CLASS(TMapPlanoTCE, TField, CONTATCE, CLASSIFCONTA, TIPOCONTA, NATUREZA, TIPOSUPERAVITFINANC, DESCRCONTA,
               CONTACTB, NATUREZAINFORMACAO, INDSUPERAVIT, TIPOCONTROLECONTA);
ULMO_MAP_CLASS(TMapPlanoCtbEstatal, TField, CONTATCE, CLASSIFCONTA, DESCRCONTA, TIPONATURSALDO, TIPOCONTA,
               CLASSIFCONTATCE, CONTACTB);
ULMO_MAP_CLASS(TMapBalancetePlanoCtbEstatal, TField, CONTATCE, CLASSIFCONTA, DESCRCONTA, TIPONATURSALDO, TIPOCONTA,
               CLASSIFCONTATCE, CONTACTB);
ULMO_MAP_CLASS(TMapSaldoPlanoContabilEstatal, TField, DATASALDO, CONTACTB, CLASSIFCONTA, CLASSIFCONTATCE, DESCRICAO,
               SALDOANTERIOR, DEBITO, CREDITO);
ULMO_MAP_CLASS(TMapRelacBem, TField, CODIGOEMPRESA, NUMEROBEM, DESCRISAO, PROPRIEDADEBEM, NATUREZABEM,
               IDTIPOCATEGORIABEM, IDTIPODETALHAMENTOBEM, UTILIZACAOBEM, DATAAQUISICAO);

// Output records.
ULMO_MAP_CLASS(TMapRecordPlanoContabilEstatal, TColuna, idPessoa, cdContaContabil, nrAnoAplicacao, dsConta,
               tpNaturezaSaldo, tpEscrituracao);
ULMO_MAP_CLASS(TMapRecordPlanoContabil, TColuna, idPessoa, cdClasse, cdGrupo, cdSubGrupo, cdTitulo, cdSubTitulo, cdItem,
               cdSubItem, cdNivel8, cdNivel9, cdNivel10, cdNivel11, cdNivel12, nrAnoAplicacao, dsConta, tpNaturezaSaldo,
               tpEscrituracao, tpNaturezaInformacao, tpSuperavitFinanceiro, tpControleConta);
ULMO_MAP_CLASS(TMapRecordMovCtbMensal, TColuna, idPessoa, idPessoaEntidade, cdClasse, cdGrupo, cdSubGrupo, cdTitulo,
               cdSubTitulo, cdItem, cdSubItem, cdNivel8, cdNivel9, cdNivel10, cdNivel11, cdNivel12, nrAnoAplicacao, nrMes,
               idTipoMovimentoContabil, tpSuperavitFinanceiro, tpIdentifPatQualitativa, vlDebito, vlCredito);
ULMO_MAP_CLASS(TMapRecordSaldoCtbExercAnt, TColuna, idPessoa, idPessoaEntidade, cdClasse, cdGrupo, cdSubGrupo, cdTitulo,
               cdSubTitulo, cdItem, cdSubItem, cdNivel8, nrAnoImplantacao, tpSuperavitFinanceiro, tpNaturezaSaldo,
               vlSaldoExercicioAnterior);
ULMO_MAP_CLASS(TMapRecordBalanceteMensalEstatalXPlanoContabil, TColuna, idPessoa, nrMes, cdContaContabil, cdClasse,
               cdGrupo, cdSubGrupo, cdTitulo, cdSubTitulo, cdItem, cdSubItem, cdNivel8, cdNivel9, cdNivel10, cdNivel11,
               cdNivel12, nrAnoAplicacao, vlDebito, vlCredito);
ULMO_MAP_CLASS(TMapRecordBem, TColuna, idPessoa, cdBem, dsBem, idTipoPropriedadeBem, idTipoNaturezaBem, idTipoCategoriaBem,
               idTipoDetalhamentoBem, idTipoUtilizacaoBem, dtOperacao);

}  // namespace nUlmoMaps
