#include "UlmoSQLs_U.h"

#include "Exceptions_U.h"
#include "SQL_U.h"

namespace nUlmo {

std::string TUlmoSQLs::GetSQLSelectPlanoContabilEstatal() {
  return "select TP.CONTATCE, PE.CLASSIFCONTA, PE.DESCRCONTA, T.TIPONATURSALDO, TP.TIPOCONTA, TP.CLASSIFCONTA "
         "CLASSIFCONTATCE, PE.CONTACTB from TCEPLANOPLESPEC T join TCEPLANO TP on T.CODIGOSISTEMATCE = "
         "TP.CODIGOSISTEMATCE and T.CONTATCE = TP.CONTATCE join PLANOESPEC PE on PE.CODIGOEMPRESA = T.CODIGOEMPRESA "
         "and PE.CONTACTB = T.CONTACTB where %s order by T.CONTATCE ";
}

std::string TUlmoSQLs::GetSQLSelectPlanoTCE() {
  return "select TP.CONTATCE, TP.CLASSIFCONTA, TP.TIPOCONTA, T.TIPONATURSALDO NATUREZA, case when "
         "T.TIPOSUPERAVITFINANC <> 'N' then T.TIPOSUPERAVITFINANC end TIPOSUPERAVITFINANC, "
         "coalesce(T.DESCRDETALHCONTA, TP.DESCRCONTA) DESCRCONTA, T.CONTACTB, TP.NATUREZAINFORMACAO, TP.INDSUPERAVIT, "
         "TP.TIPOCONTROLECONTA, T.IDENTIFIPATQUALITATIVA from TCEPLANOPLESPEC T join TCEPLANO TP on "
         "T.CODIGOSISTEMATCE = TP.CODIGOSISTEMATCE and T.CONTATCE = TP.CONTATCE where T.CODIGOSISTEMATCE = "
         ":CODIGOSISTEMA and T.CODIGOEMPRESA = :CODIGOEMPRESA order by T.CONTATCE ";
}

std::string TUlmoSQLs::GetSQLSelectRelacBens() {
  return "select P.CODIGOEMPRESA, P.NUMEROBEM, P.DESCRISAO, PR.PROPRIEDADEBEM, PR.NATUREZABEM, "
         "PR.IDTIPOCATEGORIABEM, PR.IDTIPODETALHAMENTOBEM, PR.UTILIZACAOBEM, P.DATAAQUISICAO from PATBEMRELACTCE PR "
         "join PATBEM P on PR.CODIGOBEM = P.CODIGOBEM and PR.CODIGOEMPRESA = P.CODIGOEMPRESA where PR.CODIGOEMPRESA = "
         "%s and P.DATAAQUISICAO between %s and %s";
}

std::string TUlmoSQLs::GetSQLSelectDadosPlanoPlEspec() {
  return "select TSE.CODIGOEMPRESA, TSE.CODIGOSISTEMATCE, PE.CONTACTB, PE.TIPOCONTA TIPOCONTACTB, PE.CLASSIFCONTA "
         "CLASSIFCONTACTB, PE.DESCRCONTA DESCRCONTACTB, TE.DATAINICIOPLANO, TE.DATAFIMPLANO, TE.DESCRDETALHCONTA, "
         "TE.CODIGOSISTEMATCE, TP.CONTATCE, TP.TIPOCONTA TIPOCONTATCE, TP.CLASSIFCONTA CLASSIFCONTATCE, TP.DESCRCONTA "
         "DESCRCONTATCE, TE.TIPONATURSALDO, TE.APLICFINANCEIRA, TE.TIPOSUPERAVITFINANC, TE.CODIGOTIPOCONTATCE, "
         "TE.CODIGOBANCO, TE.NUMEROAGENCIA, TE.NUMEROCONTA, TE.IDENTIFIPATQUALITATIVA from TCEPLANO TP join "
         "TCESISTEMAEMPRESA TSE on TSE.CODIGOSISTEMATCE = TP.CODIGOSISTEMATCE %0:s join TCEPLANOPLESPEC TE on "
         "TE.CODIGOEMPRESA = TSE.CODIGOEMPRESA and TE.CODIGOSISTEMATCE = TP.CODIGOSISTEMATCE and TE.CONTATCE = "
         "TP.CONTATCE %0:s join PLANOESPEC PE on "
         "PE.CODIGOEMPRESA = TSE.CODIGOEMPRESA and PE.CONTACTB = TE.CONTACTB where TSE.CODIGOEMPRESA = %1:s and "
         "TP.CLASSIFCONTA like %2:s";
}

std::string TUlmoSQLs::GetSQLDeletePlanoPlEspec() {
  return "delete from TCEPLANOPLESPEC where CODIGOEMPRESA = %s and CONTACTB = %s and DATAINICIOPLANO = %s";
}

std::string TUlmoSQLs::GetSQLSelectPlanoTCEVigente() {
  return "select TP.CONTATCE, TP.CLASSIFCONTA, TP.TIPOCONTA, T.TIPONATURSALDO NATUREZA, case when "
         "T.TIPOSUPERAVITFINANC <> 'N' then T.TIPOSUPERAVITFINANC end TIPOSUPERAVITFINANC, "
         "coalesce(T.DESCRDETALHCONTA, TP.DESCRCONTA) DESCRCONTA, T.CONTACTB, TP.NATUREZAINFORMACAO, TP.INDSUPERAVIT, "
         "TP.TIPOCONTROLECONTA, T.IDENTIFIPATQUALITATIVA, T.DATAINICIOPLANO from TCEPLANOPLESPEC T join TCEPLANO TP on "
         "T.CODIGOSISTEMATCE = TP.CODIGOSISTEMATCE and T.CONTATCE = TP.CONTATCE where T.CODIGOSISTEMATCE = "
         ":CODIGOSISTEMA and T.CODIGOEMPRESA = :CODIGOEMPRESA and %s order by T.CONTATCE ";
}

namespace {

// The start of one row chosen among the other rows of the same company account and court system
// (alias V) that meet the condition.
std::string InicioEscolhido(const std::string& AAlias, const char* AFuncao, const std::string& ACondicao) {
  return std::string("(select ") + AFuncao + "(V.DATAINICIOPLANO) from TCEPLANOPLESPEC V where V.CODIGOEMPRESA = " +
         AAlias + ".CODIGOEMPRESA and V.CONTACTB = " + AAlias + ".CONTACTB and V.CODIGOSISTEMATCE = " + AAlias +
         ".CODIGOSISTEMATCE and " + ACondicao + ")";
}

std::string VigenteEm(const std::string& AData) {
  return "V.DATAINICIOPLANO <= " + AData + " and (V.DATAFIMPLANO is null or V.DATAFIMPLANO >= " + AData + ")";
}

std::string VigenteEntre(const std::string& AInicio, const std::string& AFim) {
  return "V.DATAINICIOPLANO <= " + AFim + " and (V.DATAFIMPLANO is null or V.DATAFIMPLANO >= " + AInicio + ")";
}

std::string DataSQL(nFramework::TDateTime AData) {
  return nFramework::ValorParaSQL(nFramework::TVariant::FromDate(AData), nFramework::TFieldType::ftDate);
}

}  // namespace

std::string TUlmoSQLs::GetSQLCondPlanoVigenteNaData(const std::string& AAlias, const std::string& AData) {
  // Valid on the day, and no later-starting row valid too: per entry this costs one probe of
  // the key of TCEPLANOPLESPEC, where taking the greatest start would scan the account's rows.
  return AAlias + ".DATAINICIOPLANO <= " + AData + " and (" + AAlias + ".DATAFIMPLANO is null or " + AAlias +
         ".DATAFIMPLANO >= " + AData + ") and " +
         GetSQLCondSemPlanoPosteriorNaData(AAlias + ".CODIGOEMPRESA", AAlias + ".CONTACTB", AAlias + ".CODIGOSISTEMATCE",
                                           AAlias + ".DATAINICIOPLANO", AData);
}

std::string TUlmoSQLs::GetSQLCondSemPlanoPosteriorNaData(const std::string& AEmpresa, const std::string& AConta,
                                                         const std::string& ASistema, const std::string& AInicio,
                                                         const std::string& AData) {
  return "not exists (select 1 from TCEPLANOPLESPEC V where V.CODIGOEMPRESA = " + AEmpresa + " and V.CONTACTB = " +
         AConta + " and V.CODIGOSISTEMATCE = " + ASistema + " and V.DATAINICIOPLANO > " + AInicio + " and " +
         VigenteEm(AData) + ")";
}

std::string TUlmoSQLs::GetSQLCondPlanoVigenteInicioPeriodo(const std::string& AAlias, nFramework::TDateTime AInicio,
                                                           nFramework::TDateTime AFim) {
  const std::string ini = DataSQL(AInicio), fim = DataSQL(AFim);
  return AAlias + ".DATAINICIOPLANO = coalesce(" + InicioEscolhido(AAlias, "max", VigenteEm(ini)) + ", " +
         InicioEscolhido(AAlias, "min", VigenteEntre(ini, fim)) + ")";
}

std::string TUlmoSQLs::GetSQLCondPlanoVigenteFimPeriodo(const std::string& AAlias, nFramework::TDateTime AInicio,
                                                        nFramework::TDateTime AFim) {
  const std::string ini = DataSQL(AInicio), fim = DataSQL(AFim);
  return AAlias + ".DATAINICIOPLANO = coalesce(" + InicioEscolhido(AAlias, "max", VigenteEm(fim)) + ", " +
         InicioEscolhido(AAlias, "max", VigenteEntre(ini, fim)) + ")";
}

std::string FormatSQL(std::string_view texto, const std::vector<std::string>& args) {
  std::string r;
  size_t next = 0;
  for (size_t i = 0; i < texto.size(); ++i) {
    if (texto[i] != '%') {
      r += texto[i];
      continue;
    }
    if (i + 1 < texto.size() && texto[i + 1] == '%') {
      r += '%';
      ++i;
      continue;
    }
    size_t j = i + 1;
    size_t index = next;
    if (j < texto.size() && std::isdigit(static_cast<unsigned char>(texto[j]))) {
      index = 0;
      while (j < texto.size() && std::isdigit(static_cast<unsigned char>(texto[j]))) index = index * 10 + static_cast<size_t>(texto[j++] - '0');
      if (j >= texto.size() || texto[j] != ':') throw nFramework::EInternalError("formato SQL inválido");
      ++j;
    }
    if (j >= texto.size() || (texto[j] != 's' && texto[j] != 'S')) throw nFramework::EInternalError("formato SQL inválido");
    if (index >= args.size()) throw nFramework::EInternalError("argumento faltando no formato SQL");
    r += args[index];
    next = index + 1;
    i = j;
  }
  return r;
}

}  // namespace nUlmo
