#include "protocol/ErrorTexts.h"

namespace varmo {

const std::array<std::string, 128>& ErrorTexts()
{
    static const std::array<std::string, 128> texts = [] {
        std::array<std::string, 128> t{};
        t[2] = "błąd bajtu kontrolnego";
        t[3] = "zła ilość parametrów";
        t[4] = "błąd parametru";
        t[6] = "błąd operacji z pamięcią fiskalną, błąd zapisu PF";
        t[7] = "data wcześniejsza od daty ostatniego zapisu w pamięci niemożliwe !)";
        t[8] = "błąd operacji - niezerowe totalizery";
        t[10] = "błąd operacji - próba ponownej korekty czasu w zakresie +/- 1 godzina";
        t[11] = "błąd parametru Ps, niedopuszczalna wartość parametru VAT_A … VAT_G albo próba zapisania identycznych stawek podatkowych";
        t[12] = "błąd parametru <tekst>. Przesłany nagłówek zbyt długi lub zawiera niedozwolone znaki";
        t[13] = "próba ponownej fiskalizacja ufiskalnionego urządzenia";
        t[14] = "błąd numeru NIP (po ufiskalnieniu)";
        t[15] = "Błąd parametru <nazwa>, <linia1>, <linia2>, <linia3>";
        t[16] = "błędna nazwa (za krótka lub za długa)";
        t[17] = "błąd parametru <ilość> (tylko dla Ps=6,7,10,11)";
        t[18] = "błędna stawka podatkowa (błędne oznaczenie, użycie nieaktywnej, nazwa zablokowana do sprzedaży";
        t[19] = "błąd parametru <cena> (tylko dla Ps=6,7,10,11)";
        t[20] = "błąd wartości brutto albo rabatu (błąd niespełnienia warunku ilość x cena = brutto)  -";
        t[21] = "drukarka poza trybem transakcji , błąd operacji (tylko dla Ps=6,7,10,11) - próba w niedozwolonym stanie drukarki, rejestracja pozycji paragonu nie jest dozwolona";
        t[22] = "błąd operacji anulacji kaucji pobranej lub wydanej (próba anulowania kwoty wyższej niż zarejestrowana)";
        t[23] = "próba zakończenia transakcji bez sprzedaży";
        t[24] = "bufor drukarki pełen";
        t[25] = "błąd treści <numer_kasy>, <kasjer>, <linia dodatkowa>";
        t[26] = "błąd kwoty wartość ogółem; <ilość>x<cena><>wartość ogółemtabela kaucji pełna ";
        t[27] = "niedozwolona operacja rabat/narzut";
        t[28] = "próba przepełnienia licznika dziennego sprzedaży w danej stawce podatkowej";
        t[29] = "drukarka poza trybem transakcji";
        t[30] = "błąd kwoty <wpłata>";
        t[31] = "próba przekroczenia stanu licznika gotówki w kasie (konieczna wypłata gotówki)";
        t[32] = "kwota wypłaty przewyższa stan gotówki w kasie";
        t[33] = "Błąd tekstu <numer_kasy> > 8";
        t[34] = "Błąd tekstu <kasjer> > 32";
        t[35] = "błąd operacji - zerowe stany liczników dziennych";
        t[37] = "operacja przerwana przez użytkownika";
        t[38] = "błąd parametru <nazwa>";
        t[40] = "błąd operacji - nie można zapisać numeru NIP / ufiskalnić drukarki - brak nagłówka";
        t[41] = "błąd napisu <numer_kasy> (za długi lub zawierający błędne znaki)";
        t[42] = "błąd napisu <kasjer>";
        t[43] = "błąd napisu <numer_paragonu>";
        t[44] = "błąd napisu <kontrahent>";
        t[45] = "błąd napisu <terminal>";
        t[46] = "błąd napisu <nazwa_karty>";
        t[47] = "błąd napisu <numer_karty>";
        t[48] = "błąd napisu <miesiąc>";
        t[49] = "błąd napisu <rok>";
        t[50] = "błąd napisu <kod_autoryzacji>";
        t[51] = "błąd wartości <kwota>";
        t[82] = "błąd operacji - operacja niedozwolona w obecnym stanie (rozpoczęcie wydruku raportu niefiskalnego, raportu kontroli bazy towarów, fiskalnego z pamięci fiskalnej, zamówienia, itd.) Niedozwolone użycie rozkazu $z";
        t[83] = "Niezgodność danych kaucji";
        t[90] = "operacja tylko z kaucjami, nie można wysyłać towarów $l";
        t[91] = "niezgodność kwot płatności zarejestrowanych podczas transakcji i przesłanych w rozkazie zakończenia transakcji";
        t[92] = "próba przepełnienia bazy towarowej";
        t[94] = "Próba przepełnienia kwoty sprzedaży - max 9999999.99";
        t[95] = "błąd operacji - drukarka w trakcie transakcji";
        t[97] = "Błąd operacji - zbyt niski stan naładowania akumulatora";
        t[98] = "błąd operacji - drukarka w trybie serwisowym";
        return t;
    }();
    return texts;
}

std::string ErrorText(std::int32_t number)
{
    if (number < 0 || number >= 128)
        return {};
    return ErrorTexts()[static_cast<std::size_t>(number)];
}

}  // namespace varmo
