"""Divisions of the sample classification (KWU 2010, fictional edition).

Each division is a block of lines "code | name | rate | note". The level of a
row follows from its code: 10.1 group, 10.11 class, 10.11.1 category,
10.11.11 subcategory. A rate given on a row is the default of every row below
it; only rows without children show a rate. Notes are raw cell markup.
"""

DIVISIONS = []


def division(number, section, name, text, explained=False):
    DIVISIONS.append({"number": number, "section": section, "name": name,
                      "text": text, "explained": explained})


division("01", "A", "Produkty rolnictwa i łowiectwa oraz usługi wspomagające", """
01.1 | Rośliny inne niż wieloletnie | 5 |
01.11 | Zboża (z wyłączeniem ryżu), rośliny strączkowe i oleiste | |
01.11.1 | Pszenica | | Z wyłączeniem materiału siewnego kwalifikowanego, zob. #L#01.30.10#L#KWU@01@01.30.10#
01.11.11 | Pszenica durum (#I#Triticum durum#I#) | |
01.11.12 | Pszenica zwyczajna (#I#Triticum aestivum#I#) i orkisz | |
01.11.2 | Kukurydza | |
01.11.20 | Kukurydza w ziarnie, z wyłączeniem kukurydzy cukrowej | |
01.11.3 | Jęczmień, żyto i owies | |
01.11.31 | Jęczmień | | Obejmuje także jęczmień browarny
01.11.32 | Żyto | |
01.11.33 | Owies | |
01.11.34 | Pszenżyto | |
01.11.4 | Nasiona roślin strączkowych, suche | |
01.11.41 | Fasola, suche nasiona | |
01.11.42 | Groch, suche nasiona | |
01.11.43 | Bób i bobik, suche nasiona | |
01.11.5 | Nasiona i owoce roślin oleistych | 8 | Przetworzone nasiona oleiste, zob. #L#10.41.1#L#KWU@10@10.41.1#
01.11.51 | Rzepak i rzepik | |
01.11.52 | Nasiona słonecznika | |
01.11.53 | Soja | |
01.11.54 | Nasiona lnu | |
01.13 | Warzywa, grzyby jadalne i rośliny korzeniowe | |
01.13.1 | Warzywa liściaste i łodygowe | |
01.13.11 | Kapusta głowiasta, czerwona i włoska | |
01.13.12 | Sałata i cykoria | |
01.13.13 | Szpinak | |
01.13.14 | Szparagi | |
01.13.3 | Warzywa owocowe | |
01.13.31 | Pomidory | |
01.13.32 | Ogórki i korniszony | |
01.13.33 | Papryka słodka | |
01.13.4 | Warzywa korzeniowe, cebulowe i bulwiaste | |
01.13.41 | Marchew i rzepa | |
01.13.42 | Cebula | |
01.13.43 | Czosnek | |
01.13.44 | Buraki ćwikłowe | |
01.13.5 | Ziemniaki | |
01.13.51 | Ziemniaki jadalne | |
01.13.52 | Ziemniaki do sadzenia (sadzeniaki) | 8 |
01.15 | Tytoń nieprzetworzony | 23 |
01.15.1 | Tytoń nieprzetworzony | |
01.15.10 | Tytoń nieprzetworzony, w liściach lub w belach | | #U#Nie obejmuje#U# wyrobów tytoniowych
01.2 | Rośliny wieloletnie | 5 |
01.24 | Owoce ziarnkowe i pestkowe | |
01.24.1 | Jabłka | |
01.24.10 | Jabłka | |
01.24.2 | Pozostałe owoce ziarnkowe i pestkowe | |
01.24.21 | Gruszki i pigwy | |
01.24.22 | Śliwki i tarki | |
01.24.23 | Wiśnie i czereśnie | |
01.25 | Owoce jagodowe i orzechy | |
01.25.1 | Owoce jagodowe | |
01.25.11 | Truskawki | |
01.25.12 | Maliny | |
01.25.13 | Porzeczki czarne, białe i czerwone | |
01.25.14 | Borówka wysoka (#I#Vaccinium corymbosum#I#) | |
01.25.3 | Orzechy, z wyłączeniem dziko rosnących | |
01.25.31 | Orzechy laskowe | |
01.25.32 | Orzechy włoskie | | Orzechy łuskane, prażone lub solone, zob. #L#10.39.24#L#KWU@10@10.39.24#
01.3 | Materiał rozmnożeniowy roślin | 8 |
01.30 | Materiał rozmnożeniowy roślin | |
01.30.1 | Rośliny żywe, cebulki, bulwy i korzenie, sadzonki | |
01.30.10 | Materiał siewny i sadzeniowy kwalifikowany | | Obejmuje:#N#- nasiona zbóż kwalifikowane,#N#- sadzonki drzew i krzewów owocowych,#N#- rozsady warzyw
01.30.11 | Drzewa i krzewy ozdobne, rośliny doniczkowe | |
01.30.12 | Kwiaty cięte i pąki kwiatowe, świeże | |
01.4 | Zwierzęta żywe i produkty pochodzenia zwierzęcego | 8 |
01.41 | Bydło mleczne żywe i mleko surowe | |
01.41.1 | Bydło mleczne żywe | |
01.41.10 | Bydło mleczne żywe | |
01.41.2 | Mleko surowe od bydła mlecznego | 5 |
01.41.20 | Mleko surowe od krów | | Mleko przetworzone, zob. #L#10.51.1#L#KWU@10@10.51.1#
01.46 | Świnie żywe | |
01.46.1 | Świnie żywe | |
01.46.10 | Świnie żywe, w tym prosięta | |
01.47 | Drób żywy i jaja | |
01.47.1 | Drób żywy | |
01.47.11 | Kury i kurczęta żywe | |
01.47.12 | Indyki żywe | |
01.47.13 | Gęsi i kaczki żywe | |
01.47.2 | Jaja w skorupkach | |
01.47.21 | Jaja kurze w skorupkach, świeże | 5 |
01.47.22 | Jaja wylęgowe | |
01.49 | Pozostałe zwierzęta żywe i produkty pochodzenia zwierzęcego | |
01.49.2 | Produkty pszczelarskie | |
01.49.21 | Miód naturalny | 5 |
01.49.22 | Wosk pszczeli i pozostałe woski owadzie | 23 |
01.49.3 | Zwierzęta domowe | 23 |
01.49.31 | Psy i koty żywe | | #B#Stawka podstawowa#B# - zwierzęta domowe nie są zwierzętami gospodarskimi
01.6 | Usługi wspomagające rolnictwo i następujące po zbiorach | 8 |
01.61 | Usługi wspomagające produkcję roślinną | |
01.61.1 | Usługi wspomagające produkcję roślinną | |
01.61.10 | Usługi wspomagające uprawę roślin (opryskiwanie, nawożenie, zbiór) | |
01.62 | Usługi wspomagające chów i hodowlę zwierząt | |
01.62.1 | Usługi wspomagające chów i hodowlę zwierząt | |
01.62.10 | Usługi wspomagające chów zwierząt, z wyłączeniem usług weterynaryjnych | |
""")

division("02", "A", "Produkty gospodarki leśnej", """
02.1 | Drzewa leśne i usługi szkółek leśnych | 8 |
02.10 | Drzewa leśne i usługi szkółek leśnych | |
02.10.1 | Drzewa leśne żywe, materiał siewny | |
02.10.11 | Sadzonki drzew leśnych | |
02.10.12 | Nasiona drzew leśnych | |
02.2 | Drewno surowe | 23 |
02.20 | Drewno surowe | |
02.20.1 | Drewno surowe nieobrobione | |
02.20.11 | Drewno iglaste okrągłe | |
02.20.12 | Drewno liściaste okrągłe | |
02.20.13 | Drewno opałowe | 8 | Obejmuje także zrębki i odpady drzewne przeznaczone na opał
02.3 | Produkty leśne dziko rosnące, z wyłączeniem drewna | 5 |
02.30 | Produkty leśne dziko rosnące | |
02.30.4 | Jadalne produkty leśne | |
02.30.40 | Grzyby, jagody i orzechy dziko rosnące | | Jagody (#I#Vaccinium myrtillus#I#), borówki, żurawiny, grzyby leśne
02.30.41 | Choinki naturalne | 8 |
02.4 | Usługi wspomagające leśnictwo | 8 |
02.40 | Usługi wspomagające leśnictwo | |
02.40.1 | Usługi wspomagające leśnictwo | |
02.40.10 | Usługi związane z pozyskaniem drewna, inwentaryzacją i ochroną lasu | |
""")

division("03", "A", "Ryby i pozostałe produkty rybactwa", """
03.0 | Ryby i pozostałe produkty rybactwa | 5 |
03.00 | Ryby i pozostałe produkty rybactwa; usługi wspomagające rybactwo | |
03.00.1 | Ryby żywe | |
03.00.11 | Ryby ozdobne żywe | 23 | Ryby akwariowe i stawowe ozdobne
03.00.12 | Ryby słodkowodne żywe (karp, pstrąg) | |
03.00.2 | Ryby świeże lub schłodzone | |
03.00.21 | Ryby morskie świeże lub schłodzone (dorsz, śledź, szprot) | |
03.00.22 | Ryby słodkowodne świeże lub schłodzone | |
03.00.3 | Skorupiaki i mięczaki | 8 |
03.00.31 | Skorupiaki, niezamrożone | |
03.00.32 | Ostrygi, małże i pozostałe mięczaki | |
03.00.4 | Usługi wspomagające rybactwo | 8 |
03.00.40 | Usługi wspomagające rybołówstwo i chów ryb | |
""")

division("08", "B", "Pozostałe produkty górnictwa i wydobywania", """
08.1 | Kamień, piasek i glina | 23 |
08.11 | Kamień ozdobny i budowlany, wapień, kreda | |
08.11.1 | Kamień ozdobny i budowlany | |
08.11.11 | Marmur i trawertyn | |
08.11.12 | Granit i bazalt | |
08.11.2 | Wapień, gips i kreda | |
08.11.20 | Wapień i gips | |
08.12 | Żwir, piasek, glina i kaolin | |
08.12.1 | Żwir i piasek | |
08.12.11 | Piaski naturalne | |
08.12.12 | Żwir i kruszywa łamane | |
08.12.2 | Glina i kaolin | |
08.12.21 | Kaolin | |
08.12.22 | Glina ceramiczna | |
08.9 | Produkty górnictwa i wydobywania, gdzie indziej niesklasyfikowane | 23 |
08.92 | Torf | |
08.92.1 | Torf | |
08.92.10 | Torf, łącznie z torfem rozdrobnionym | | Podłoża ogrodnicze na bazie torfu - stawka podstawowa
08.93 | Sól | |
08.93.1 | Sól i czysty chlorek sodu | |
08.93.10 | Sól spożywcza i przemysłowa | | Sól spożywcza: stawka 5%, zob. #L#10.84.16#L#KWU@10@10.84.16#
""")

division("10", "C", "Artykuły spożywcze", explained=True, text="""
10.1 | Mięso i wyroby z mięsa, zakonserwowane | 5 |
10.11 | Mięso, z wyłączeniem mięsa z drobiu | |
10.11.1 | Mięso z bydła, świń, owiec, kóz i koni, świeże lub schłodzone | | Tusze, półtusze i elementy, także pakowane próżniowo
10.11.11 | Wołowina, tusze i półtusze, świeża lub schłodzona | |
10.11.12 | Wołowina, elementy bez kości, świeża lub schłodzona | |
10.11.13 | Wieprzowina, tusze i półtusze, świeża lub schłodzona | |
10.11.14 | Wieprzowina, elementy (szynka, łopatka, schab), świeża lub schłodzona | |
10.11.15 | Baranina i jagnięcina, świeża lub schłodzona | |
10.11.16 | Koźlęcina, świeża lub schłodzona | |
10.11.17 | Konina, świeża lub schłodzona | |
10.11.18 | Dziczyzna, świeża lub schłodzona | |
10.11.2 | Podroby jadalne, świeże lub schłodzone | |
10.11.21 | Podroby jadalne wołowe | |
10.11.22 | Podroby jadalne wieprzowe | |
10.11.23 | Podroby jadalne baranie, kozie i końskie | |
10.11.3 | Mięso zamrożone | |
10.11.31 | Wołowina zamrożona | |
10.11.32 | Wieprzowina zamrożona | |
10.11.33 | Baranina i koźlęcina zamrożona | |
10.11.34 | Podroby jadalne zamrożone | |
10.11.4 | Tłuszcze zwierzęce surowe | |
10.11.41 | Słonina i tłuszcz wieprzowy, niewytopiony | |
10.11.42 | Łój wołowy surowy | |
10.11.43 | Smalec i pozostałe tłuszcze wieprzowe wytopione | |
10.11.5 | Skóry surowe i wełna | 23 | Produkty uboczne uboju, #U#nie są#U# artykułami spożywczymi
10.11.51 | Skóry surowe bydlęce i końskie | |
10.11.52 | Skóry surowe owcze i jagnięce | |
10.11.53 | Wełna niezgrzebna, strzyżona | |
10.11.9 | Usługi uboju zwierząt i rozbioru mięsa | 8 |
10.11.99 | Usługi podwykonawstwa związane z produkcją mięsa | |
10.12 | Mięso z drobiu | |
10.12.1 | Mięso z drobiu, świeże lub schłodzone | |
10.12.11 | Kurczęta, tuszki, świeże lub schłodzone | |
10.12.12 | Indyki, tuszki, świeże lub schłodzone | |
10.12.13 | Kaczki, świeże lub schłodzone | |
10.12.14 | Gęsi, świeże lub schłodzone | |
10.12.15 | Elementy drobiowe (filety, udka, skrzydła), świeże lub schłodzone | |
10.12.16 | Podroby drobiowe, świeże lub schłodzone | |
10.12.17 | Przepiórki i perliczki, świeże lub schłodzone | |
10.12.2 | Mięso z drobiu, zamrożone | |
10.12.21 | Kurczęta, tuszki, zamrożone | |
10.12.22 | Indyki, tuszki, zamrożone | |
10.12.23 | Elementy drobiowe, zamrożone | |
10.12.3 | Pierze i puch | 23 |
10.12.31 | Pierze surowe, także oczyszczone | |
10.12.32 | Puch gęsi i kaczy | |
10.13 | Wyroby z mięsa i z mięsa z drobiu | |
10.13.1 | Przetwory i konserwy z mięsa, podrobów lub krwi | | #B#Wyroby wędliniarskie#B# - także krojone i pakowane w atmosferze ochronnej
10.13.11 | Wieprzowina peklowana, solona, suszona lub wędzona (boczek, szynka) | |
10.13.12 | Wołowina peklowana, solona, suszona lub wędzona | |
10.13.13 | Kiełbasy i podobne wyroby z mięsa | | Kiełbasy surowe, wędzone, parzone i suszone, np. kabanosy
10.13.14 | Parówki i serdelki | |
10.13.15 | Pasztety i wyroby podrobowe | | Obejmuje:#N#- pasztety,#N#- salcesony,#N#- kaszanki
10.13.16 | Konserwy mięsne i mięsno-roślinne | |
10.13.17 | Wyroby z mięsa drobiowego (wędliny drobiowe) | |
10.13.18 | Mięso mielone i wyroby garmażeryjne surowe | |
10.13.19 | Smalec ze skwarkami i smalec z dodatkami | |
10.13.9 | Usługi związane z produkcją wyrobów z mięsa | 8 |
10.13.91 | Usługi wędzenia i peklowania | |
10.13.99 | Usługi podwykonawstwa związane z produkcją wyrobów z mięsa | |
10.2 | Ryby, skorupiaki i mięczaki, przetworzone i zakonserwowane | 5 |
10.20 | Ryby, skorupiaki i mięczaki, przetworzone i zakonserwowane | |
10.20.1 | Ryby świeże, schłodzone lub zamrożone, przetworzone | | Ryby żywe i nieprzetworzone, zob. #L#dział 03#L#KWU@03@03.00.2#
10.20.11 | Filety rybne, świeże lub schłodzone | |
10.20.12 | Wątróbki, ikra i mlecz rybi, świeże lub schłodzone | |
10.20.13 | Ryby całe, zamrożone | |
10.20.14 | Filety rybne, zamrożone | |
10.20.15 | Mięso rybne rozdrobnione, zamrożone (surimi) | |
10.20.2 | Ryby suszone, solone, wędzone | |
10.20.21 | Ryby suszone lub solone | |
10.20.22 | Ryby wędzone (łosoś, śledź, makrela) | |
10.20.23 | Mączki i granulki rybne, jadalne | |
10.20.24 | Ikra ryb solona lub wędzona | |
10.20.3 | Przetwory i konserwy rybne | |
10.20.31 | Konserwy rybne (śledzie, szproty, tuńczyk) | |
10.20.32 | Marynaty rybne i ryby w galarecie | |
10.20.33 | Kawior | 23 | Kawior z ikry jesiotra (#I#Acipenseridae#I#)
10.20.34 | Namiastki kawioru | 23 |
10.20.35 | Paluszki rybne i ryby panierowane | |
10.20.4 | Skorupiaki i mięczaki, przetworzone | 8 |
10.20.41 | Skorupiaki zamrożone (krewetki, kraby) | |
10.20.42 | Mięczaki przetworzone lub zakonserwowane | |
10.20.43 | Mączki rybne paszowe | | Pasze, zob. #L#10.91.1#L#KWU@10@10.91.1#
10.3 | Owoce i warzywa, przetworzone i zakonserwowane | 5 |
10.31 | Ziemniaki, przetworzone i zakonserwowane | |
10.31.1 | Ziemniaki, przetworzone i zakonserwowane | |
10.31.11 | Ziemniaki zamrożone (frytki) | |
10.31.12 | Ziemniaki suszone (płatki, granulat) | |
10.31.13 | Chipsy ziemniaczane | 8 |
10.31.14 | Ziemniaki obrane, schłodzone | |
10.32 | Soki z owoców i warzyw | |
10.32.1 | Soki z owoców i warzyw | | Soki bez dodatku cukru; napoje o zawartości soku poniżej 20%, zob. #L#11.07.19#L#KWU@11@11.07.19#
10.32.11 | Sok pomidorowy | |
10.32.12 | Sok pomarańczowy | |
10.32.13 | Sok grejpfrutowy | |
10.32.14 | Sok jabłkowy | |
10.32.15 | Soki z pozostałych owoców | |
10.32.16 | Soki wielowarzywne | |
10.32.17 | Nektary owocowe | |
10.32.18 | Soki zagęszczone | |
10.39 | Pozostałe owoce i warzywa, przetworzone i zakonserwowane | |
10.39.1 | Warzywa przetworzone i zakonserwowane | |
10.39.11 | Warzywa zamrożone | |
10.39.12 | Warzywa suszone | |
10.39.13 | Warzywa konserwowane w occie (ogórki, papryka, grzybki) | |
10.39.14 | Kapusta kiszona i ogórki kiszone | |
10.39.15 | Przeciery i koncentraty pomidorowe | |
10.39.16 | Groch i fasola, konserwowane | |
10.39.17 | Grzyby konserwowane | |
10.39.18 | Sałatki warzywne gotowe | |
10.39.19 | Chrzan tarty i ćwikła | |
10.39.2 | Owoce i orzechy, przetworzone i zakonserwowane | |
10.39.21 | Owoce zamrożone | |
10.39.22 | Dżemy, konfitury i marmolady | |
10.39.23 | Powidła śliwkowe | |
10.39.24 | Orzechy łuskane, prażone lub solone | 8 |
10.39.25 | Owoce suszone (rodzynki, śliwki suszone, morele) | |
10.39.26 | Owoce kandyzowane | 8 |
10.39.27 | Kompoty owocowe | |
10.39.28 | Masło orzechowe | 8 |
10.39.29 | Musy i przeciery owocowe | |
10.39.9 | Usługi związane z przetwarzaniem owoców i warzyw | 8 |
10.39.99 | Usługi podwykonawstwa związane z przetwarzaniem owoców i warzyw | |
10.4 | Oleje i tłuszcze zwierzęce i roślinne | 5 |
10.41 | Oleje i pozostałe tłuszcze | |
10.41.1 | Oleje roślinne surowe | |
10.41.11 | Olej rzepakowy surowy | |
10.41.12 | Olej słonecznikowy surowy | |
10.41.13 | Olej sojowy surowy | |
10.41.14 | Oliwa z oliwek, z pierwszego tłoczenia | |
10.41.15 | Olej lniany surowy | |
10.41.16 | Olej z pestek winogron i pozostałe oleje roślinne surowe | |
10.41.2 | Oleje roślinne rafinowane | |
10.41.21 | Olej rzepakowy rafinowany | |
10.41.22 | Olej słonecznikowy rafinowany | |
10.41.23 | Oliwa z oliwek rafinowana | |
10.41.24 | Olej kukurydziany rafinowany | |
10.41.25 | Tłuszcze roślinne utwardzone | |
10.41.3 | Makuchy i pozostałe pozostałości stałe | 8 |
10.41.31 | Makuchy rzepakowe | |
10.41.32 | Śruta sojowa | |
10.41.33 | Linters bawełniany | 23 |
10.42 | Margaryna i podobne tłuszcze jadalne | |
10.42.1 | Margaryna i podobne tłuszcze jadalne | |
10.42.11 | Margaryna | |
10.42.12 | Tłuszcze mieszane do smarowania | |
10.42.13 | Tłuszcze piekarskie i cukiernicze | |
10.5 | Wyroby mleczarskie | 5 |
10.51 | Wyroby mleczarskie i sery | |
10.51.1 | Mleko i śmietana, przetworzone | | Mleko surowe, zob. #L#01.41.20#L#KWU@01@01.41.20#
10.51.11 | Mleko spożywcze pasteryzowane | |
10.51.12 | Mleko UHT | |
10.51.13 | Śmietana o zawartości tłuszczu do 30% | |
10.51.14 | Śmietanka kremówka | |
10.51.2 | Mleko i śmietana w postaci stałej | |
10.51.21 | Mleko odtłuszczone w proszku | |
10.51.22 | Mleko pełne w proszku | |
10.51.23 | Mleko zagęszczone, słodzone | |
10.51.3 | Masło i pasty mleczne | |
10.51.31 | Masło | |
10.51.32 | Masło klarowane | |
10.51.33 | Pasty maślane | |
10.51.4 | Sery i twarogi | |
10.51.41 | Twarogi | |
10.51.42 | Sery dojrzewające (gouda, edamski, tylżycki) | |
10.51.43 | Sery topione | |
10.51.44 | Sery pleśniowe | |
10.51.45 | Serki homogenizowane | |
10.51.46 | Sery z mleka owczego | | Np. oscypek, bundz, bryndza
10.51.47 | Ser mozzarella i sery typu pasta filata | |
10.51.5 | Pozostałe wyroby mleczarskie | |
10.51.51 | Jogurty | |
10.51.52 | Kefiry i maślanki | |
10.51.53 | Napoje mleczne smakowe | | Zawartość mleka co najmniej 75%; napoje z mniejszą zawartością mleka - stawka #B#23%#B#
10.51.54 | Kazeina i kazeiniany | 23 |
10.51.55 | Serwatka w proszku | |
10.51.56 | Laktoza i syrop laktozowy | 23 |
10.51.57 | Desery mleczne (budynie, ryż na mleku) | |
10.52 | Lody | 8 |
10.52.1 | Lody i podobne wyroby | |
10.52.11 | Lody mleczne i śmietankowe | |
10.52.12 | Lody wodne i sorbety | |
10.52.13 | Desery lodowe i torty lodowe | |
10.6 | Produkty przemiału zbóż, skrobia i wyroby skrobiowe | 5 |
10.61 | Produkty przemiału zbóż | |
10.61.1 | Ryż łuskany lub półbielony | |
10.61.11 | Ryż łuskany | |
10.61.12 | Ryż biały, półbielony lub bielony | |
10.61.2 | Mąki zbożowe | |
10.61.21 | Mąka pszenna | |
10.61.22 | Mąka żytnia | |
10.61.23 | Mąka kukurydziana | |
10.61.24 | Mąki z pozostałych zbóż | |
10.61.25 | Mąka razowa i pełnoziarnista | |
10.61.3 | Kasze, płatki i śruty zbożowe | |
10.61.31 | Kasza gryczana | |
10.61.32 | Kasza jęczmienna | |
10.61.33 | Kasza manna | |
10.61.34 | Płatki owsiane | |
10.61.35 | Mieszanki płatków zbożowych (musli) | 8 |
10.61.36 | Kasza jaglana | |
10.61.37 | Kasza bulgur i pęczak | |
10.61.4 | Otręby i pozostałe pozostałości przemiału | 8 |
10.61.41 | Otręby pszenne | |
10.61.42 | Otręby żytnie | |
10.62 | Skrobia i wyroby skrobiowe | 8 |
10.62.1 | Skrobia i wyroby skrobiowe | |
10.62.11 | Skrobia ziemniaczana | |
10.62.12 | Skrobia kukurydziana | |
10.62.13 | Glukoza i syrop glukozowy | |
10.62.14 | Dekstryny i skrobie modyfikowane | 23 |
10.62.15 | Tapioka | |
10.7 | Wyroby piekarskie i mączne | 5 |
10.71 | Pieczywo, świeże wyroby ciastkarskie i ciastka | |
10.71.1 | Pieczywo, świeże wyroby ciastkarskie i ciastka | | #B##U#Uwaga:#B##U# stawka 5% dotyczy wyrobów o okresie przydatności do spożycia nie dłuższym niż 45 dni; pozostałe wyroby ciastkarskie - stawka 8%
10.71.11 | Chleb żytni | |
10.71.12 | Chleb pszenny | |
10.71.13 | Chleb mieszany | |
10.71.14 | Bułki, rogale i bagietki | |
10.71.15 | Pieczywo półcukiernicze (drożdżówki, chałki) | |
10.71.16 | Ciasta i ciastka świeże | |
10.71.17 | Pieczywo bezglutenowe, świeże | |
10.72 | Sucharki, herbatniki i ciastka trwałe | |
10.72.1 | Sucharki, herbatniki, wyroby ciastkarskie trwałe | 8 |
10.72.11 | Pieczywo chrupkie i sucharki | 5 |
10.72.12 | Pierniki i piernikowe wyroby | | Pierniki w polewie czekoladowej - stawka #B#23%#B#
10.72.13 | Herbatniki, wafle i ciastka trwałe | |
10.72.14 | Paluszki, krakersy i precle | |
10.72.15 | Wafle ryżowe i kukurydziane | |
10.73 | Makarony, pierogi i podobne wyroby mączne | |
10.73.1 | Makarony, pierogi i podobne wyroby mączne | |
10.73.11 | Makaron niegotowany, bez jaj | |
10.73.12 | Makaron jajeczny | |
10.73.13 | Kuskus | |
10.73.14 | Pierogi, kluski i uszka | |
10.73.15 | Makaron ryżowy i makaron z mąki innej niż pszenna | |
10.8 | Pozostałe artykuły spożywcze | 8 |
10.81 | Cukier | |
10.81.1 | Cukier trzcinowy lub buraczany | |
10.81.11 | Cukier trzcinowy surowy | |
10.81.12 | Cukier biały | |
10.81.13 | Cukier puder i cukier w kostkach | |
10.81.14 | Melasa | |
10.81.15 | Wysłodki buraczane | |
10.82 | Kakao, czekolada i wyroby cukiernicze | 23 |
10.82.1 | Kakao, czekolada i wyroby cukiernicze | | Wszystkie wyroby z tej kategorii - stawka podstawowa, także gdy zawierają owoce lub orzechy
10.82.11 | Masa kakaowa | |
10.82.12 | Masło kakaowe | |
10.82.13 | Kakao w proszku | |
10.82.14 | Czekolada i wyroby czekoladowe | |
10.82.15 | Cukierki i karmelki | |
10.82.16 | Gumy do żucia | |
10.82.17 | Chałwa | |
10.82.18 | Owoce i orzechy w czekoladzie | |
10.82.19 | Lizaki, draże i cukierki musujące | |
10.83 | Herbata i kawa, przetworzone | 23 |
10.83.1 | Herbata i kawa, przetworzone | |
10.83.11 | Kawa palona | |
10.83.12 | Kawa bezkofeinowa | |
10.83.13 | Kawa rozpuszczalna i ekstrakty kawy | |
10.83.14 | Namiastki kawy (kawa zbożowa) | |
10.83.15 | Herbata czarna | |
10.83.16 | Herbata zielona | |
10.83.17 | Napary z ziół i owoców | |
10.83.18 | Herbata owocowa i aromatyzowana | |
10.84 | Przyprawy i dodatki do żywności | |
10.84.1 | Ocet, sosy i przyprawy | |
10.84.11 | Ocet spirytusowy i winny | |
10.84.12 | Sosy i przyprawy złożone | |
10.84.13 | Musztarda | |
10.84.14 | Ketchup | |
10.84.15 | Majonez | |
10.84.16 | Sól spożywcza | 5 | Sól kamienna i warzona, także jodowana
10.84.17 | Pieprz i pozostałe przyprawy, przetworzone | |
10.84.18 | Przyprawy suszone (majeranek, papryka mielona, zioła) | |
10.85 | Gotowe posiłki i dania | 5 |
10.85.1 | Gotowe posiłki i dania | |
10.85.11 | Gotowe dania mięsne | |
10.85.12 | Gotowe dania rybne | |
10.85.13 | Gotowe dania warzywne | |
10.85.14 | Pizza, także zamrożona | |
10.85.15 | Gotowe dania z makaronu | |
10.85.16 | Gołąbki, bigos i pozostałe dania kuchni polskiej, gotowe | |
10.86 | Żywność homogenizowana i dietetyczna | 5 |
10.86.1 | Żywność homogenizowana i dietetyczna | |
10.86.11 | Preparaty do początkowego żywienia niemowląt | |
10.86.12 | Kaszki, przeciery i obiadki dla dzieci | |
10.86.13 | Żywność bezglutenowa | |
10.86.14 | Środki spożywcze specjalnego przeznaczenia medycznego | |
10.89 | Pozostałe artykuły spożywcze | |
10.89.1 | Zupy, jaja przetworzone, drożdże i pozostałe | |
10.89.11 | Zupy i buliony | 5 |
10.89.12 | Jaja bez skorupek i żółtka | 5 |
10.89.13 | Drożdże piekarskie | 5 |
10.89.14 | Ekstrakty i soki mięsne | |
10.89.15 | Koncentraty spożywcze (budynie, kisiele, galaretki) | |
10.89.16 | Syropy smakowe | 23 |
10.89.17 | Kostki rosołowe i przyprawy do zup | |
10.89.9 | Usługi związane z produkcją pozostałych artykułów spożywczych | |
10.89.99 | Usługi podwykonawstwa związane z produkcją pozostałych artykułów spożywczych | |
10.9 | Gotowe pasze i karma dla zwierząt | 8 |
10.91 | Gotowe pasze dla zwierząt gospodarskich | |
10.91.1 | Gotowe pasze dla zwierząt gospodarskich | | Pasze przemysłowe pełnoporcjowe i uzupełniające
10.91.11 | Mieszanki paszowe dla trzody chlewnej | |
10.91.12 | Mieszanki paszowe dla bydła | |
10.91.13 | Mieszanki paszowe dla drobiu | |
10.91.14 | Premiksy i dodatki paszowe | |
10.91.15 | Mączka i granulki z lucerny | |
10.91.16 | Pasze dla ryb hodowlanych | |
10.92 | Gotowa karma dla zwierząt domowych | 23 |
10.92.1 | Gotowa karma dla zwierząt domowych | |
10.92.11 | Karma dla psów i kotów | |
10.92.12 | Karma dla ptaków ozdobnych | |
10.92.13 | Karma dla ryb akwariowych | |
10.92.14 | Przysmaki i gryzaki dla psów | |
""")

division("11", "C", "Napoje", """
11.0 | Napoje | 23 |
11.01 | Napoje spirytusowe | |
11.01.1 | Napoje spirytusowe | | Wyroby akcyzowe - oprócz VAT podlegają podatkowi akcyzowemu
11.01.10 | Wódki, likiery i pozostałe napoje spirytusowe | |
11.02 | Wina z winogron | |
11.02.1 | Wina z winogron | |
11.02.11 | Wina musujące | |
11.02.12 | Wina z winogron świeżych, niemusujące | |
11.03 | Cydr i pozostałe wina owocowe | |
11.03.1 | Cydr i pozostałe wina owocowe | |
11.03.10 | Cydr, perry i miód pitny | |
11.05 | Piwo | |
11.05.1 | Piwo | |
11.05.10 | Piwo słodowe, z wyłączeniem piwa bezalkoholowego | |
11.05.2 | Piwo bezalkoholowe | |
11.05.20 | Piwo bezalkoholowe (do 0,5% alkoholu) | |
11.07 | Wody mineralne i napoje bezalkoholowe | |
11.07.1 | Wody mineralne i napoje bezalkoholowe | |
11.07.11 | Wody mineralne i wody gazowane, niesłodzone | |
11.07.12 | Napoje gazowane słodzone | |
11.07.13 | Napoje izotoniczne i energetyczne | |
11.07.19 | Pozostałe napoje bezalkoholowe, w tym napoje owocowe | | Napoje o zawartości soku owocowego lub warzywnego co najmniej 20% - stawka 5%, zob. #L#10.32.1#L#KWU@10@10.32.1#
""")

division("21", "C", "Podstawowe substancje farmaceutyczne, leki i wyroby farmaceutyczne", """
21.1 | Podstawowe substancje farmaceutyczne | 23 |
21.10 | Podstawowe substancje farmaceutyczne | |
21.10.1 | Kwas salicylowy i jego pochodne | |
21.10.10 | Kwas salicylowy, jego sole i estry | |
21.10.2 | Antybiotyki w postaci substancji | |
21.10.20 | Penicyliny i pozostałe antybiotyki, w postaci substancji | |
21.2 | Leki i pozostałe wyroby farmaceutyczne | 8 |
21.20 | Leki i pozostałe wyroby farmaceutyczne | |
21.20.1 | Leki | | #B#Produkty lecznicze#B# dopuszczone do obrotu na podstawie przepisów prawa farmaceutycznego
21.20.11 | Leki zawierające penicyliny lub antybiotyki | |
21.20.12 | Leki zawierające hormony | |
21.20.13 | Leki przeciwbólowe i przeciwgorączkowe | |
21.20.14 | Szczepionki dla ludzi | |
21.20.2 | Pozostałe wyroby farmaceutyczne | |
21.20.21 | Materiały opatrunkowe jałowe | |
21.20.22 | Odczynniki diagnostyczne | |
21.20.23 | Suplementy diety w postaci farmaceutycznej | 23 | Suplementy diety nie są produktami leczniczymi
""")

division("41", "F", "Budynki i roboty budowlane związane ze wznoszeniem budynków", """
41.0 | Budynki i roboty budowlane związane ze wznoszeniem budynków | 23 |
41.00 | Budynki mieszkalne i niemieszkalne | |
41.00.1 | Budynki mieszkalne | |
41.00.11 | Budynki mieszkalne jednorodzinne | 8 | Stawka 8% w ramach budownictwa objętego społecznym programem mieszkaniowym:#N#- budynki jednorodzinne do 300 m#I#2#I#,#N#- lokale mieszkalne do 150 m#I#2#I#
41.00.12 | Budynki mieszkalne wielorodzinne | 8 |
41.00.13 | Budynki zbiorowego zamieszkania | |
41.00.2 | Budynki niemieszkalne | |
41.00.21 | Budynki przemysłowe i magazynowe | |
41.00.22 | Budynki biurowe i handlowo-usługowe | |
41.00.3 | Roboty budowlane związane ze wznoszeniem budynków mieszkalnych | 8 |
41.00.30 | Roboty budowlane związane ze wznoszeniem budynków mieszkalnych | | Roboty przy budynkach objętych społecznym programem mieszkaniowym; roboty wykończeniowe, zob. #L#43.31 - 43.34#L#KWU@43@43.31#
41.00.4 | Roboty budowlane związane ze wznoszeniem budynków niemieszkalnych | |
41.00.40 | Roboty budowlane związane ze wznoszeniem budynków niemieszkalnych | |
""")

division("43", "F", "Roboty budowlane specjalistyczne", """
43.1 | Roboty rozbiórkowe i przygotowanie terenu pod budowę | 23 |
43.11 | Roboty związane z rozbiórką i burzeniem obiektów budowlanych | |
43.11.1 | Roboty rozbiórkowe | |
43.11.10 | Roboty związane z rozbiórką i burzeniem obiektów budowlanych | |
43.12 | Roboty związane z przygotowaniem terenu pod budowę | |
43.12.1 | Roboty ziemne i przygotowanie terenu | |
43.12.11 | Roboty ziemne | |
43.12.12 | Roboty odwadniające i melioracyjne na terenie budowy | |
43.2 | Wykonywanie instalacji elektrycznych, wodno-kanalizacyjnych i pozostałych | 23 |
43.21 | Roboty związane z wykonywaniem instalacji elektrycznych | |
43.21.1 | Roboty związane z wykonywaniem instalacji elektrycznych | |
43.21.10 | Roboty związane z wykonywaniem instalacji elektrycznych w budynkach | | Przy budynkach mieszkalnych objętych społecznym programem mieszkaniowym - stawka 8%
43.22 | Roboty związane z wykonywaniem instalacji wodno-kanalizacyjnych, cieplnych i gazowych | |
43.22.1 | Roboty instalacyjne wodno-kanalizacyjne, cieplne i gazowe | |
43.22.11 | Roboty związane z wykonywaniem instalacji wodno-kanalizacyjnych | |
43.22.12 | Roboty związane z wykonywaniem instalacji grzewczych i wentylacyjnych | |
43.22.2 | Roboty instalacyjne gazowe | |
43.22.20 | Roboty związane z wykonywaniem instalacji gazowych | |
43.3 | Wykonywanie robót budowlanych wykończeniowych | 23 | Remonty i modernizacja lokali mieszkalnych - stawka 8%, zob. #L#41.00.30#L#KWU@41@41.00.30#
43.31 | Tynkowanie | |
43.31.1 | Tynkowanie | |
43.31.10 | Roboty tynkarskie | |
43.32 | Zakładanie stolarki budowlanej | |
43.32.1 | Zakładanie stolarki budowlanej | |
43.32.10 | Roboty instalacyjne stolarki budowlanej (okna, drzwi, schody) | |
43.33 | Posadzkarstwo, tapetowanie i oblicowywanie ścian | |
43.33.1 | Roboty posadzkarskie i oblicowywanie ścian | |
43.33.10 | Roboty posadzkarskie i okładzinowe | |
43.33.2 | Tapetowanie | |
43.33.20 | Roboty związane z tapetowaniem | |
43.34 | Malowanie i szklenie | |
43.34.1 | Malowanie i szklenie | |
43.34.10 | Roboty malarskie | |
43.34.2 | Szklenie | |
43.34.20 | Roboty szklarskie | |
""")

division("55", "I", "Usługi związane z zakwaterowaniem", """
55.1 | Usługi hoteli i podobnych obiektów zakwaterowania | 8 |
55.10 | Usługi hoteli i podobnych obiektów zakwaterowania | |
55.10.1 | Usługi hoteli i podobnych obiektów zakwaterowania | | Śniadanie wliczone w cenę noclegu opodatkowane jest łącznie z usługą zakwaterowania
55.10.10 | Usługi hoteli, moteli i pensjonatów | |
55.10.11 | Usługi zakwaterowania w apartamentach z obsługą hotelową | |
55.2 | Zakwaterowanie turystyczne i krótkotrwałe | 8 |
55.20 | Usługi zakwaterowania turystycznego | |
55.20.1 | Usługi zakwaterowania turystycznego | |
55.20.11 | Usługi schronisk młodzieżowych | |
55.20.12 | Usługi domów wycieczkowych i kwater prywatnych | |
55.20.13 | Usługi ośrodków kolonijnych i wczasowych | |
55.3 | Pola kempingowe i pola namiotowe | 8 |
55.30 | Usługi pól kempingowych i namiotowych | |
55.30.1 | Usługi pól kempingowych i namiotowych | |
55.30.11 | Usługi pól kempingowych, łącznie z miejscami dla przyczep | |
55.9 | Pozostałe zakwaterowanie | 8 |
55.90 | Pozostałe usługi zakwaterowania | |
55.90.1 | Pozostałe usługi zakwaterowania | |
55.90.11 | Usługi domów studenckich i internatów | zw. | Usługi zakwaterowania studentów i uczniów świadczone przez szkoły i uczelnie - zwolnione, zob. #L#zwolnienia#L#VAT@ZW@85.42.1#
55.90.12 | Usługi hoteli robotniczych | |
55.90.19 | Pozostałe usługi zakwaterowania, gdzie indziej niesklasyfikowane | |
""")

division("56", "I", "Usługi związane z wyżywieniem", """
56.1 | Usługi restauracji i pozostałych placówek gastronomicznych | 8 |
56.10 | Usługi restauracji i pozostałych placówek gastronomicznych | |
56.10.1 | Usługi restauracji i pozostałych placówek gastronomicznych | | #B#Stawka 23%#B# dla sprzedaży:#N#- napojów alkoholowych,#N#- napojów z kawy i herbaty,#N#- napojów bezalkoholowych gazowanych#N#- wyrobów tytoniowych
56.10.11 | Usługi restauracji z pełną obsługą kelnerską | |
56.10.12 | Usługi restauracji samoobsługowych | |
56.10.13 | Usługi punktów gastronomicznych (bary, smażalnie, pizzerie) | |
56.10.19 | Usługi ruchomych placówek gastronomicznych | |
56.2 | Usługi przygotowywania i dostarczania żywności (katering) | 8 |
56.21 | Przygotowywanie i dostarczanie żywności dla odbiorców zewnętrznych | |
56.21.1 | Usługi przygotowywania i dostarczania żywności | |
56.21.11 | Usługi kateringu dla imprez okolicznościowych | |
56.29 | Pozostała usługowa działalność gastronomiczna | |
56.29.1 | Pozostałe usługi gastronomiczne | |
56.29.11 | Usługi stołówek | | Stołówki szkolne prowadzone przez szkoły - zob. #L#zwolnienia#L#VAT@ZW@85.20.1#
56.29.12 | Usługi dostarczania posiłków dla przewoźników | |
56.3 | Usługi przygotowywania i podawania napojów | 23 |
56.30 | Usługi przygotowywania i podawania napojów | |
56.30.1 | Usługi przygotowywania i podawania napojów | |
56.30.10 | Usługi barów, pubów i kawiarni | | Sprzedaż napojów do konsumpcji na miejscu
""")

division("58", "J", "Usługi wydawnicze", explained=True, text="""
58.1 | Książki, gazety, czasopisma i pozostałe wyroby wydawnicze | 5 |
58.11 | Książki | |
58.11.1 | Książki drukowane | | Z wyjątkiem wydawnictw, w których reklamy zajmują ponad 67% powierzchni
58.11.11 | Podręczniki szkolne i akademickie | |
58.11.12 | Książki specjalistyczne, techniczne i naukowe | |
58.11.13 | Książki dla dzieci | |
58.11.14 | Słowniki i encyklopedie | |
58.11.19 | Pozostałe książki, broszury i ulotki | |
58.11.2 | Książki na dyskach, taśmach i innych nośnikach | |
58.11.20 | Książki na płytach CD, kasetach i innych nośnikach fizycznych (audiobooki) | |
58.11.3 | Książki w postaci elektronicznej | 23 | Publikacje dostarczane drogą elektroniczną - #U#stawka podstawowa#U#
58.11.30 | Książki elektroniczne (e-booki) | |
58.13 | Gazety | 8 |
58.13.1 | Gazety drukowane | |
58.13.10 | Dzienniki i gazety ukazujące się co najmniej cztery razy w tygodniu | |
58.14 | Czasopisma | 8 |
58.14.1 | Czasopisma drukowane | |
58.14.11 | Czasopisma ogólne | |
58.14.12 | Czasopisma specjalistyczne | 5 |
58.19 | Pozostałe wyroby wydawnicze | |
58.19.1 | Pozostałe wyroby wydawnicze drukowane | |
58.19.11 | Mapy i plany drukowane | |
58.19.12 | Nuty drukowane | |
58.19.13 | Kartki pocztowe i kalendarze | 23 |
58.2 | Oprogramowanie | 23 |
58.29 | Pozostałe oprogramowanie | |
58.29.1 | Oprogramowanie systemowe i użytkowe | |
58.29.11 | Oprogramowanie systemowe | |
58.29.12 | Oprogramowanie użytkowe, także gry komputerowe | |
""")

division("85", "P", "Usługi w zakresie edukacji", """
85.1 | Usługi w zakresie wychowania przedszkolnego | zw. |
85.10 | Usługi w zakresie wychowania przedszkolnego | |
85.10.1 | Usługi w zakresie wychowania przedszkolnego | |
85.10.10 | Usługi przedszkoli i punktów przedszkolnych | |
85.2 | Usługi w zakresie szkolnictwa podstawowego i średniego | zw. |
85.20 | Usługi szkół podstawowych, gimnazjów i szkół średnich | |
85.20.1 | Usługi szkół podstawowych i gimnazjów | | Łącznie ze świadczonymi przez szkołę usługami stołówek
85.20.11 | Usługi szkół podstawowych | |
85.20.12 | Usługi gimnazjów | |
85.3 | Usługi w zakresie szkolnictwa ponadgimnazjalnego | zw. |
85.31 | Usługi szkół ogólnokształcących i zawodowych | |
85.31.1 | Usługi szkół ponadgimnazjalnych | |
85.31.11 | Usługi liceów ogólnokształcących | |
85.31.12 | Usługi techników i szkół zawodowych | |
85.4 | Usługi w zakresie szkolnictwa wyższego | zw. |
85.42 | Usługi szkół wyższych | |
85.42.1 | Usługi szkół wyższych | | Także usługi zakwaterowania studentów w domach studenckich uczelni, zob. #L#55.90.11#L#KWU@55@55.90.11#
85.42.11 | Usługi studiów pierwszego i drugiego stopnia | |
85.42.12 | Usługi studiów podyplomowych i doktoranckich | |
85.5 | Pozaszkolne formy edukacji | 23 |
85.51 | Usługi pozaszkolnych form edukacji sportowej i rekreacyjnej | |
85.51.1 | Usługi pozaszkolnych form edukacji sportowej | |
85.51.10 | Usługi szkół tańca, pływania i instruktorów sportu | |
85.53 | Usługi szkół nauki jazdy | |
85.53.1 | Usługi szkół nauki jazdy | |
85.53.11 | Usługi szkół nauki jazdy samochodem | zw. | Zwolnione, gdy świadczone przez ośrodek wpisany do rejestru, zob. #L#zwolnienia#L#VAT@ZW@85.53.1#
85.59 | Pozaszkolne formy edukacji, gdzie indziej niesklasyfikowane | |
85.59.1 | Usługi nauczania języków obcych i kursy zawodowe | | Kształcenie zawodowe finansowane ze środków publicznych - #B#zwolnione#B#
85.59.11 | Usługi nauczania języków obcych | |
85.59.12 | Kursy komputerowe i zawodowe | |
""")

division("86", "Q", "Usługi w zakresie opieki zdrowotnej", """
86.1 | Usługi szpitali | zw. |
86.10 | Usługi szpitali | |
86.10.1 | Usługi szpitali | | Usługi w zakresie opieki medycznej służące profilaktyce, zachowaniu, ratowaniu, przywracaniu i poprawie zdrowia
86.10.11 | Usługi szpitali w zakresie chirurgii | |
86.10.12 | Usługi szpitali w zakresie ginekologii i położnictwa | |
86.10.13 | Usługi szpitali w zakresie rehabilitacji | |
86.10.14 | Usługi szpitali psychiatrycznych | |
86.10.19 | Pozostałe usługi szpitali | |
86.2 | Usługi medyczne i stomatologiczne | zw. |
86.21 | Usługi ogólne lekarzy | |
86.21.1 | Usługi ogólne lekarzy | |
86.21.10 | Usługi ogólne lekarzy (konsultacje, badania) | |
86.22 | Usługi specjalistyczne lekarzy | |
86.22.1 | Usługi specjalistyczne lekarzy | |
86.22.11 | Usługi lekarzy specjalistów | |
86.22.19 | Usługi medycyny estetycznej | 23 | #B#Nie podlegają zwolnieniu#B# zabiegi niesłużące ochronie zdrowia
86.23 | Usługi stomatologiczne | |
86.23.1 | Usługi stomatologiczne | |
86.23.11 | Usługi stomatologii zachowawczej i ortodoncji | |
86.9 | Pozostałe usługi w zakresie opieki zdrowotnej | zw. |
86.90 | Pozostałe usługi w zakresie opieki zdrowotnej | |
86.90.1 | Pozostałe usługi w zakresie opieki zdrowotnej | |
86.90.11 | Usługi położnych i pielęgniarek | |
86.90.12 | Usługi fizjoterapeutów | |
86.90.13 | Usługi transportu sanitarnego | |
86.90.14 | Usługi laboratoriów medycznych | |
""")

SECTIONS = [
    ("A", "Produkty rolnictwa, leśnictwa i rybactwa", "kwu_wyroby"),
    ("B", "Produkty górnictwa i wydobywania", "kwu_wyroby"),
    ("C", "Wyroby przetwórstwa przemysłowego", "kwu_wyroby"),
    ("F", "Obiekty budowlane i roboty budowlane", "kwu_wyroby"),
    ("I", "Usługi związane z zakwaterowaniem i usługi gastronomiczne", "kwu_uslugi"),
    ("J", "Informacja i komunikacja", "kwu_uslugi"),
    ("P", "Usługi w zakresie edukacji", "kwu_uslugi"),
    ("Q", "Usługi w zakresie opieki zdrowotnej i pomocy społecznej", "kwu_uslugi"),
]

# Code of the 2004 edition that a division's codes come from.
OLD_DIVISION = {"01": "01", "02": "02", "03": "05", "08": "14", "10": "15", "11": "15",
                "21": "24", "41": "45", "43": "45", "55": "55", "56": "55", "58": "22",
                "85": "80", "86": "85"}
