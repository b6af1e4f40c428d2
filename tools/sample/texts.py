"""Text topics and documents of the sample data set, as rtfwriter Documents."""

from rtfwriter import Document

EDITION = "KWU 2010"
PROGRAM = "Wexal ze stawkami vat"


def topic_intro():
    d = Document()
    d.title("Statystyczna Klasyfikacja Wyrobów i Usług")
    d.subtitle("wydanie 2010 (KWU 2010) - wprowadzenie")
    d.para("Statystyczna Klasyfikacja Wyrobów i Usług, zwana dalej **KWU**, jest usystematyzowanym "
           "wykazem wyrobów i usług wytwarzanych i świadczonych w gospodarce narodowej. Służy do "
           "celów statystyki, ewidencji i dokumentacji, a także - na podstawie przepisów o podatku "
           "od towarów i usług - do określania stawek podatku VAT.")
    d.para("Niniejsze wydanie zawiera wybrane sekcje i działy klasyfikacji wraz ze stawkami VAT "
           "obowiązującymi od **1 stycznia 2011 r.** Przy każdym grupowaniu najniższego szczebla podano "
           "stawkę podatku, a w kolumnie //Uwagi// - odesłania do załączników do ustawy, zwolnień "
           "oraz pokrewnych grupowań.")
    d.heading("Budowa klasyfikacji")
    d.para("Klasyfikacja ma budowę hierarchiczną. Symbol każdego grupowania składa się z cyfr "
           "oddzielonych kropkami; liczba cyfr określa szczebel grupowania:")
    d.table([1800, 1700, 5000], [
        ["Szczebel", "Przykład symbolu", "Opis"],
        ["sekcja", "C", "oznaczona literą, grupuje działy o podobnym charakterze"],
        ["dział", "10", "dwie cyfry"],
        ["grupa", "10.1", "trzy cyfry"],
        ["klasa", "10.11", "cztery cyfry"],
        ["kategoria", "10.11.1", "pięć cyfr"],
        ["podkategoria", "10.11.11", "sześć cyfr - najniższy szczebel wykazu"],
    ])
    d.para("W tabelach programu grupy wyróżniono **pogrubieniem** symbolu i nazwy, a klasy - "
           "pogrubieniem nazwy. Stawkę VAT podano przy grupowaniach, które nie mają grupowań "
           "podrzędnych.")
    d.heading("Oznaczenia stawek")
    d.bullet("**23** - stawka podstawowa,")
    d.bullet("**8** - stawka obniżona, towary i usługi wymienione w załączniku nr 3 do ustawy,")
    d.bullet("**5** - stawka obniżona, towary wymienione w załączniku nr 10 do ustawy,")
    d.bullet("**0** - stawka stosowana w przypadkach określonych w ustawie,")
    d.bullet("**zw.** - zwolnienie od podatku.")
    d.remark("Podane stawki mają charakter informacyjny. W razie wątpliwości rozstrzygają przepisy "
             "ustawy o podatku od towarów i usług oraz aktów wykonawczych.")
    return d


def topic_rules():
    d = Document()
    d.title("Zasady klasyfikowania", 28)
    d.para("Przy ustalaniu grupowania, do którego należy dany wyrób lub usługa, należy stosować "
           "poniższe zasady w podanej kolejności.")
    rules = [
        "Wyrób lub usługę klasyfikuje się według jego **istotnych cech**, a nie według nazwy "
        "handlowej ani przeznaczenia deklarowanego przez sprzedawcę.",
        "Gdy wyrób może należeć do dwóch lub więcej grupowań, pierwszeństwo ma grupowanie "
        "zawierające opis //najbardziej szczegółowy//.",
        "Zestawy wyrobów pakowane do sprzedaży detalicznej klasyfikuje się według wyrobu, który "
        "nadaje zestawowi zasadniczy charakter.",
        "Usługi podwykonawstwa klasyfikuje się w tym samym dziale co wyroby, których dotyczą "
        "(kategorie z końcówką __.9__).",
        "Wyroby niekompletne lub nieukończone klasyfikuje się jak wyroby kompletne, jeżeli mają "
        "zasadnicze cechy wyrobu kompletnego.",
        "Jeżeli żadna z powyższych zasad nie pozwala rozstrzygnąć, wyrób klasyfikuje się w "
        "grupowaniu obejmującym wyroby **najbardziej do niego podobne**.",
    ]
    for number, text in enumerate(rules, 1):
        d.numbered(number, text)
    d.heading("Oznaczenie \u201eex\u201d")
    d.para("Symbol poprzedzony oznaczeniem //ex// wskazuje, że stawka lub zwolnienie dotyczy "
           "tylko części wyrobów lub usług objętych danym grupowaniem. Zakres wyłączenia podano "
           "w kolumnie //Uwagi//.")
    d.heading("Interpretacje indywidualne")
    d.para("[[2:W sprawach wątpliwych]] zaliczenie towaru lub usługi do właściwego grupowania "
           "może potwierdzić urząd statystyczny w drodze opinii klasyfikacyjnej. Opinia nie "
           "rozstrzyga o stawce podatku - w tym zakresie właściwe są organy podatkowe.")
    return d


def topic_changes():
    d = Document()
    d.title("Zmiany w wydaniu 2010", 28)
    d.para("Wydanie 2010 zastępuje wydanie z 2004 r. Najważniejsze zmiany:")
    d.bullet("nowy podział na **21 sekcji** (poprzednio 17), dostosowany do klasyfikacji działalności,")
    d.bullet("przeniesienie usług wydawniczych do sekcji J //Informacja i komunikacja//,")
    d.bullet("wydzielenie działu 10 (artykuły spożywcze) i działu 11 (napoje) z dawnego działu 15,")
    d.bullet("nowe grupowania dla usług podwykonawstwa w działach przetwórstwa.")
    d.heading("Powiązania z wydaniem 2004")
    d.para("Odpowiedniości między grupowaniami obu wydań zawiera tabela powiązań, dostępna "
           "z poziomu tabel działów (odsyłacz w wierszach grup). Oznaczenia rodzaju powiązania:")
    d.table([1600, 6900], [
        ["Oznaczenie", "Znaczenie"],
        ["1:1", "grupowanie bez zmian zakresu"],
        ["1:n", "grupowanie z 2004 r. podzielono na kilka nowych"],
        ["n:1", "kilka grupowań z 2004 r. połączono w jedno"],
    ])
    d.heading("Zmiany stawek VAT")
    d.para("Od 1 stycznia 2011 r. obowiązują stawki [[4:23%]], [[4:8%]] i [[4:5%]] w miejsce "
           "dotychczasowych 22%, 7% i 3%. Szczegóły w temacie //Stawki podatku VAT//.")
    return d


def topic_legal():
    d = Document()
    d.title("Nota prawna", 24)
    d.para("Program **%s** oraz dołączone do niego dane są chronione prawem autorskim." % PROGRAM)
    d.para("Teksty grupowań klasyfikacji oraz stawki podatku zostały opracowane przez redakcję "
           "Wydawnictwa ZELT na podstawie stanu prawnego na dzień 15 grudnia 2010 r. Wydawnictwo "
           "dołożyło wszelkich starań, aby dane były kompletne i aktualne, nie ponosi jednak "
           "odpowiedzialności za skutki decyzji podjętych na ich podstawie.")
    d.para("Kopiowanie, rozpowszechnianie i udostępnianie danych w całości lub w części bez "
           "pisemnej zgody wydawnictwa jest zabronione. Dozwolone jest sporządzanie wydruków "
           "i eksportów na własny użytek licencjobiorcy.")
    d.remark("Wydawnictwo ZELT, grudzień 2010")
    return d


def topic_division10():
    d = Document()
    d.title("Objaśnienia do działu 10", 28)
    d.subtitle("Artykuły spożywcze")
    d.para("Dział obejmuje produkty przetwórstwa wyrobów rolnictwa, leśnictwa i rybactwa na "
           "żywność dla ludzi i zwierząt oraz półprodukty nieprzeznaczone bezpośrednio do spożycia.")
    d.heading("Dział nie obejmuje")
    d.bullet("napojów (dział 11),")
    d.bullet("produktów rolnictwa nieprzetworzonych (dział 01), np. mleka surowego i jaj w skorupkach,")
    d.bullet("usług gastronomicznych (dział 56).")
    d.heading("Stawki VAT")
    d.para("Większość artykułów spożywczych podstawowych - mięso, ryby, mleko i przetwory mleczne, "
           "pieczywo, mąki, kasze, soki - jest opodatkowana stawką **5%**. Stawkę **8%** stosuje się "
           "m.in. do lodów, cukru, przypraw i wyrobów ciastkarskich trwałych. Stawką podstawową "
           "[[4:23%]] objęte są m.in. kakao, czekolada, wyroby cukiernicze, kawa, herbata oraz "
           "karma dla zwierząt domowych.")
    d.remark("Stawka 5% dla świeżych wyrobów ciastkarskich dotyczy wyłącznie wyrobów o okresie "
             "przydatności do spożycia nieprzekraczającym 45 dni.")
    return d


def topic_division58():
    d = Document()
    d.title("Objaśnienia do działu 58", 28)
    d.subtitle("Usługi wydawnicze")
    d.para("Dział obejmuje wydawanie książek, gazet, czasopism i pozostałych wyrobów wydawniczych "
           "oraz wydawanie oprogramowania. Usługi drukowania klasyfikuje się w dziale 18.")
    d.heading("Stawki VAT")
    d.table([3600, 1400, 3500], [
        ["Wyrób", "Stawka", "Warunek"],
        ["książki drukowane, mapy, nuty", "5%", "symbol ISBN lub ISMN"],
        ["czasopisma specjalistyczne", "5%", "symbol ISSN"],
        ["gazety i czasopisma ogólne", "8%", "symbol ISSN"],
        ["książki elektroniczne", "23%", "-"],
        ["oprogramowanie", "23%", "-"],
    ])
    d.para("Wydawnictwa, w których reklamy lub ogłoszenia zajmują **ponad 67%** powierzchni, "
           "opodatkowane są stawką podstawową.")
    return d


def topic_vat():
    d = Document()
    d.title("Objaśnienia do stawek VAT", 28)
    d.para("Od 1 stycznia 2011 r. podatek od towarów i usług pobiera się według następujących stawek:")
    d.table([1500, 3700, 3300], [
        ["Stawka", "Zakres", "Podstawa"],
        ["23%", "stawka podstawowa", "art. 41 ust. 1 w zw. z art. 146a pkt 1"],
        ["8%", "towary i usługi z załącznika nr 3", "art. 41 ust. 2 w zw. z art. 146a pkt 2"],
        ["5%", "towary z załącznika nr 10", "art. 41 ust. 2a"],
        ["0%", "eksport, WDT, wybrane dostawy", "art. 41 ust. 3 i art. 83"],
        ["zw.", "zwolnienia przedmiotowe", "art. 43 ust. 1"],
    ])
    d.heading("Stosowanie stawek obniżonych")
    d.para("Stawki obniżone stosuje się wyłącznie do towarów i usług wymienionych w załącznikach "
           "do ustawy, identyfikowanych za pomocą symboli klasyfikacji. Oznaczenie **ex** przy "
           "symbolu oznacza, że stawka obniżona dotyczy tylko części grupowania.")
    d.para("[[2:Uwaga:]] stawki obowiązujące od 2011 r. mają charakter przejściowy - zgodnie z ustawą "
           "mogą ulec obniżeniu, jeśli relacja długu publicznego do PKB spadnie poniżej ustalonych "
           "progów.")
    return d


def help_document():
    d = Document()
    d.title("%s" % PROGRAM, 36)
    d.subtitle("Pomoc do programu - wersja 1.2")
    d.heading("1. Przeznaczenie programu")
    d.para("Program **%s** służy do przeglądania Statystycznej Klasyfikacji Wyrobów i Usług "
           "(%s) wraz ze stawkami podatku od towarów i usług. Umożliwia:" % (PROGRAM, EDITION))
    d.bullet("przeglądanie struktury klasyfikacji w drzewku nawigacyjnym,")
    d.bullet("wyświetlanie tematów tekstowych (objaśnień) i tabel z grupowaniami i stawkami VAT,")
    d.bullet("przechodzenie między powiązanymi tematami za pomocą odsyłaczy,")
    d.bullet("wyszukiwanie tekstu w tytułach tematów, w otwartym temacie lub we wszystkich tematach,")
    d.bullet("eksport otwartego tematu do edytora tekstu lub arkusza kalkulacyjnego.")
    d.heading("2. Okno programu")
    d.para("Okno programu składa się z menu, paska narzędzi, obszaru roboczego i linii statusu. Po "
           "uruchomieniu programu obszar roboczy zajmuje strona startowa z napisem "
           "//Klasyfikacje Statystyczne//.")
    d.para("Menu zawiera trzy pozycje: **Program**, **Nawigacja** i **Pomoc**. Każde polecenie menu "
           "ma swój przycisk na pasku narzędzi. Po wskazaniu przycisku myszą pojawia się jego krótki "
           "opis, a w linii statusu - objaśnienie działania polecenia.")
    d.table([2600, 5900], [
        ["Polecenie", "Działanie"],
        ["Zakończ", "kończy działanie programu"],
        ["Strona startowa", "zamyka otwarte tematy, usuwa historię i wraca do strony startowej"],
        ["Klasyfikacje", "otwiera panel nawigacji z drzewkiem klasyfikacji"],
        ["Poprzedni temat", "wraca do tematu oglądanego wcześniej"],
        ["Następny temat", "przechodzi do tematu, z którego wrócono poleceniem Poprzedni temat"],
        ["Znajdź", "otwiera okienko parametrów szukania i rozpoczyna szukanie"],
        ["Znajdź następny", "szuka następnego wystąpienia tego samego tekstu"],
        ["Eksport", "przekazuje otwarty temat do edytora tekstu lub arkusza kalkulacyjnego"],
        ["Pomoc", "otwiera to okienko"],
        ["Wyjaśnienia", "otwiera okienko z wyjaśnieniami do wydania 2010 i zmian stawek VAT"],
        ["O programie", "wyświetla informacje o programie i jego wersji"],
    ])
    d.remark("Polecenia, których w danej chwili nie można wykonać, są wyszarzone. Na przykład "
             "polecenie Eksport jest dostępne tylko wtedy, gdy otwarty jest temat tekstowy lub tabela.")
    d.heading("3. Nawigacja po klasyfikacji")
    d.para("Polecenie [[6:Klasyfikacje]] wysuwa z lewej strony okna panel **Nawigacja** z drzewkiem "
           "tematów. Gałęzie drzewka odpowiadają częściom klasyfikacji: informacjom ogólnym, sekcjom "
           "i działom KWU oraz stawkom VAT. Gałąź rozwija się kliknięciem znaku plus lub klawiszem "
           "strzałki w prawo.")
    d.para("Kliknięcie tematu w drzewku otwiera go w obszarze roboczym. Temat można też otworzyć, "
           "przechodząc po drzewku klawiszami strzałek - każdy wskazany temat otwiera się od razu. "
           "Tytuł otwartego tematu widać na pasku nad jego treścią, np. //KWU - Dział 10 - "
           "grupowania i stawki VAT//.")
    d.para("Wyróżnia się trzy rodzaje tematów:")
    d.bullet("**grupy** - gałęzie drzewka (sekcje, działy); ich wskazanie nie zmienia treści okna,")
    d.bullet("**tematy tekstowe** - objaśnienia i komentarze, wyświetlane jako sformatowany tekst,")
    d.bullet("**tabele** - wykazy grupowań ze stawkami VAT, załączniki do ustawy i zestawienia.")
    d.heading("4. Praca z tabelą")
    d.para("Wiersz bieżący tabeli jest wyróżniony kolorem. Wiersz zmienia się kliknięciem myszy "
           "albo klawiszami strzałek, **Page Up**, **Page Down**, **Home** i **End**. Długie teksty "
           "w komórkach są zawijane, a wysokość wiersza dopasowuje się do ich długości.")
    d.para("Teksty wyróżnione kolorem [[6:__niebieskim z podkreśleniem__]] są **odsyłaczami**. Nad "
           "odsyłaczem wskaźnik myszy zmienia kształt na dłoń. Kliknięcie odsyłacza otwiera "
           "wskazaną tabelę i zaznacza w niej wiersz, do którego prowadzi odsyłacz, np. pozycję "
           "załącznika do ustawy albo grupowanie z innego działu.")
    d.para("Program zapamiętuje wiersz, na którym zakończono pracę z tabelą. Po powrocie do niej "
           "poleceniem //Poprzedni temat// zaznaczony jest ten sam wiersz.")
    d.heading("5. Historia oglądanych tematów")
    d.para("Każdy otwarty temat jest zapisywany w historii. Polecenie **Poprzedni temat** wraca do "
           "tematu oglądanego wcześniej, a **Następny temat** - do tematu, z którego się cofnięto. "
           "Otwarcie nowego tematu po cofnięciu się usuwa z historii tematy, do których prowadziło "
           "polecenie Następny temat. Polecenie //Strona startowa// czyści całą historię.")
    d.heading("6. Wyszukiwanie")
    d.para("Polecenie **Znajdź** otwiera okienko //Parametry szukania//. W polu //Szukany ciąg znaków// "
           "wpisz szukany tekst; wielkość liter nie ma znaczenia. Następnie wybierz zakres szukania:")
    d.bullet("**Aktualnie otwarty temat** - szukanie w otwartym temacie tekstowym lub w tabeli; dla "
             "tabeli można zaznaczyć pole //Szukaj tylko w wybranej kolumnie tabeli// i wskazać kolumnę,")
    d.bullet("**Tytuły tematów z drzewka nawigacyjnego** - szukanie w nazwach tematów,")
    d.bullet("**Zawartość tematów** - szukanie w treści wszystkich tematów po kolei.")
    d.para("Przycisk **Szukaj** rozpoczyna szukanie. Znaleziony tekst lub wiersz tabeli zostaje "
           "zaznaczony. Polecenie **Znajdź następny** kontynuuje szukanie od miejsca ostatniego "
           "trafienia. Jeżeli tekstu nie ma, program wyświetla komunikat //Poszukiwany ciąg znaków "
           "nie został odnaleziony//.")
    d.remark("Wskazówka: aby znaleźć grupowanie po symbolu, otwórz tabelę działu, zaznacz szukanie "
             "w kolumnie Symbol i wpisz początek symbolu, np. 10.51.")
    d.heading("7. Eksport do edytora tekstu i arkusza kalkulacyjnego")
    d.para("Polecenie **Eksport** zapisuje otwarty temat do pliku w katalogu plików tymczasowych "
           "i otwiera go w programie skojarzonym z rodzajem pliku:")
    d.bullet("temat tekstowy - jako dokument RTF, np. w edytorze tekstu,")
    d.bullet("tabela - jako plik z rozszerzeniem .xls, np. w arkuszu kalkulacyjnym.")
    d.para("W eksportowanej tabeli pomijane są oznaczenia wyróżnień i ukryte cele odsyłaczy - "
           "przenoszony jest sam tekst komórek. Każdy eksport tworzy nowy plik z kolejnym numerem, "
           "dlatego wcześniejsze eksporty nie są zastępowane.")
    d.heading("8. Okienka pomocy i wyjaśnień")
    d.para("Okienka **Pomoc** i **Wyjaśnienia** otwierają się same przy starcie programu. Aby "
           "tego uniknąć, usuń zaznaczenie pola //Czy wyświetlać to okienko przy starcie programu ?// "
           "- ustawienie zostanie zapamiętane. Okienka można zawsze otworzyć z menu Pomoc.")
    d.para("Przycisk **Drukuj** drukuje całą treść okienka na wybranej drukarce. Okienko zamyka "
           "przycisk **Zamknij** lub klawisz **Esc**.")
    d.heading("9. Kontakt z wydawnictwem")
    d.para("Polecenie //Zelt w internecie// otwiera witrynę internetową Wydawnictwa ZELT, na której "
           "publikowane są informacje o aktualizacjach. Polecenie //Poczta do ZELT// tworzy nową "
           "wiadomość e-mail do wydawnictwa - prosimy o przesyłanie uwag dotyczących programu "
           "i danych.")
    d.centred("[[3:Życzymy przyjemnej i owocnej pracy z programem!]]")
    return d


def explanations_document():
    d = Document()
    d.title("Wyjaśnienia", 36)
    d.subtitle("KWU 2010 i stawki VAT od 1 stycznia 2011 r.")
    d.heading("Nowe wydanie klasyfikacji")
    d.para("Od 1 stycznia 2011 r. dla celów opodatkowania podatkiem od towarów i usług stosuje się "
           "klasyfikację w wydaniu 2010. Dotychczasowe wydanie z 2004 r. może być stosowane "
           "wyłącznie do rozliczeń dotyczących okresów wcześniejszych.")
    d.para("Zmiana wydania oznacza nowe symbole grupowań. Przed zastosowaniem stawki obniżonej "
           "należy ustalić symbol wyrobu lub usługi według wydania 2010 - powiązania ze starymi "
           "symbolami zawiera tabela powiązań dostępna z tabel działów.")
    d.heading("Nowe stawki podatku")
    d.table([2400, 2400, 3700], [
        ["Do 31 grudnia 2010 r.", "Od 1 stycznia 2011 r.", "Uwagi"],
        ["22%", "[[4:23%]]", "stawka podstawowa"],
        ["7%", "[[4:8%]]", "załącznik nr 3"],
        ["3%", "[[4:5%]]", "nowy załącznik nr 10"],
        ["0%", "0%", "bez zmian"],
        ["zw.", "zw.", "część zwolnień zmieniona"],
    ])
    d.para("Stawka **5%** obejmuje przede wszystkim podstawowe artykuły spożywcze (pieczywo, mleko "
           "i przetwory mleczne, mięso, soki, żywność dla niemowląt) oraz książki i czasopisma "
           "specjalistyczne. Część towarów opodatkowanych dotąd stawką 3% przeszła do stawki 8%.")
    d.heading("Jak korzystać z tabel")
    d.numbered(1, "Odszukaj wyrób lub usługę w tabeli właściwego działu albo poleceniem **Znajdź**.")
    d.numbered(2, "Sprawdź stawkę w kolumnie //Stawka VAT (%)//.")
    d.numbered(3, "Przeczytaj //Uwagi// - zawierają one warunki stosowania stawki i odsyłacze do "
                  "pozycji załączników.")
    d.numbered(4, "Kliknij odsyłacz, aby zobaczyć pozycję załącznika lub powiązane grupowanie.")
    d.remark("Wyjaśnienia mają charakter ogólny i nie zastępują przepisów. Stan prawny na dzień "
             "15 grudnia 2010 r.")
    return d


def update_document():
    d = Document()
    d.title("Aktualizacja programu", 32)
    d.para("Program **%s** w wersji **1.2 (001)** z grudnia 2010 r. zawiera dane według stanu "
           "prawnego na dzień 15 grudnia 2010 r." % PROGRAM)
    d.heading("Co nowego w wersji 1.2")
    d.bullet("stawki VAT obowiązujące od 1 stycznia 2011 r. (23%, 8%, 5%),")
    d.bullet("nowy załącznik nr 10 do ustawy - towary opodatkowane stawką 5%,")
    d.bullet("tabela powiązań KWU 2010 z KWU 2004,")
    d.bullet("szukanie w wybranej kolumnie tabeli,")
    d.bullet("eksport tabel do arkusza kalkulacyjnego.")
    d.heading("Jak zaktualizować program")
    d.para("Po zamknięciu tego okienka zostanie uruchomiony program aktualizacyjny, który połączy się "
           "z serwerem wydawnictwa i pobierze nowe dane, jeżeli są dostępne. Do aktualizacji "
           "potrzebne jest połączenie z internetem.")
    d.para("[[2:Przed aktualizacją zamknij wszystkie eksportowane pliki otwarte w edytorze tekstu "
           "lub arkuszu kalkulacyjnym.]]")
    d.remark("Aktualizacje danych w ramach wersji 1.x są bezpłatne dla zarejestrowanych użytkowników.")
    return d
