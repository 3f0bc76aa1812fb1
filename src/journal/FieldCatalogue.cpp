#include "FieldCatalogue.h"

#include <cassert>

namespace FieldCatalogue {

namespace {
constexpr auto L = EditorColumn::Left;
constexpr auto R = EditorColumn::Right;
constexpr auto N = EditorColumn::NotShown;

constexpr std::array<DocumentField, kBoxCount> kFields = {{
    {2, 0, u"Регистрационный знак", L, 0, "registration plate"},
    {3, 1, u"VIN", L, 1, "vehicle identification number"},
    {4, 2, u"Марка  модель", L, 2, "make and model"},
    {5, 3, u"Marka  Model", N, 3, "make and model in Latin letters"},
    {6, 4, u"Тип ТС", L, 4, "vehicle type"},
    {7, 5, u"Категория ТС", L, 5, "vehicle category"},
    {8, 6, u"Год выпуска ТС", L, 6, "year of manufacture"},
    {9, 7, u"Модель двигателя", L, 7, "engine model"},
    {10, 8, u"Двигатель №", L, 8, "engine number"},
    {11, 9, u"Шасси №", L, 9, "chassis number"},
    {12, 10, u"Кузов №", L, 10, "body number"},
    {13, 11, u"Цвет", L, 11, "colour"},
    {14, 12, u"Мощность двиг., кВт/л. с.", L, 12, "engine power, kW and horsepower"},
    {15, 13, u"Рабочий объем двигателя, см3", L, 13, "engine displacement"},
    {16, 14, u"Паспорт ТС серия", L, 14, "series of the vehicle passport"},
    {17, 15, u"№", L, 15, "number of the vehicle passport"},
    {18, 16, u"Разрешенная max масса, кг", L, 16, "permitted maximum mass"},
    {19, 17, u"Масса без нагрузки, кг", L, 17, "unladen mass"},
    {20, 18, u"Фамилия  ", R, 18, "owner's surname"},
    {21, 19, u"Surname", R, 19, "owner's surname in Latin letters"},
    {22, 20, u"Имя ", R, 20, "owner's first name"},
    {23, 21, u"Name", R, 21, "owner's first name in Latin letters"},
    {24, 22, u"Отчество", R, 22, "owner's patronymic"},
    {25, 23, u"Республика, край, область", R, 23, "region, first box"},
    {26, 24, u"", R, 24, "region, second box"},
    {27, 25, u"Район", R, 25, "district"},
    {28, 26, u"Нас. пункт", R, 26, "town or village"},
    {29, 27, u"Улица", R, 27, "street"},
    {30, 28, u"Дом", R, 28, "house number"},
    {31, 29, u"кор.", R, 28, "building number"},
    {32, 30, u"кв.", R, 28, "flat number"},
    {33, 31, u"Особые отметки", R, 29, "special notes, line 1"},
    {34, 32, u"", R, 30, "special notes, line 2"},
    {35, 33, u"", R, 31, "special notes, line 3"},
    {36, 34, u"Выдано ГИБДД", R, 32, "issuing traffic-police unit, line 1"},
    {37, 35, u"Дата", R, 33, "date of issue"},
    {38, 36, u"№ свидетельства  о регистрации", L, 34, "certificate series and number"},
    {39, 37, u"", R, 35, "certificate series and number, second copy"},
    {40, 38, u"", R, 36, "a further number line"},
    {41, 39, u"", R, 37, "issuing traffic-police unit, second text"},
    {42, 40, u"", N, kNoBox, "no meaning assigned"},
    {43, 41, u"", N, kNoBox, "no meaning assigned"},
    {44, 42, u"", N, kNoBox, "no meaning assigned"},
    {45, 43, u"", N, kNoBox, "no meaning assigned"},
}};
} // namespace

const std::array<DocumentField, kBoxCount> &fields()
{
    return kFields;
}

const DocumentField &byBox(int box)
{
    assert(box >= 0 && box < kBoxCount);
    return kFields[size_t(box)];
}

int upperCaseBoxFor(int box)
{
    if (box < 0 || box >= kBoxCount)
        return kNoBox;
    return kFields[size_t(box)].upperCaseBox;
}

} // namespace FieldCatalogue
